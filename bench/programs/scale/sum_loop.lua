-- The sum wraps like a 32-bit int; the last line turns it into the signed value.
local sum, i = 0, 0
while i < 30000000 do sum = (sum + i) & 0xFFFFFFFF; i = i + 1 end
if sum >= 0x80000000 then sum = sum - 0x100000000 end
print(sum)
