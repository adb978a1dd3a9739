local sum, i = 0, 1
while i <= 3000000 do sum = (sum + i) & 0xFFFFFFFF; i = i + 1 end
print(sum)
