total, i = 0, 1
while i <= 3000000:
    total = (total + i) & 0xFFFFFFFF
    i += 1
print(total)
