local s, k = "", 0
for i = 1, 2000000 do
  s = s .. "x"; k = k + 1
  if k == 100 then s = ""; k = 0 end
end
print(k .. " [" .. s .. "]")
