local s, k = "", 0
for i = 1, 300000 do
  s = s .. "x"; k = k + 1
  if k == 200 then s = ""; k = 0 end
end
print(k)
