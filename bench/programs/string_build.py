s, k = "", 0
for i in range(300000):
    s += "x"
    k += 1
    if k == 200:
        s, k = "", 0
print(k)
