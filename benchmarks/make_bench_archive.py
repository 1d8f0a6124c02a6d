#!/usr/bin/env python3
"""Writes a deflated archive of about 100 MB of data that compresses like
program files and documents do. Usage: make_bench_archive.py ARCHIVE"""
import random
import sys
import zipfile

random.seed(7)
words = [bytes(random.choice(b"abcdefghijklmnopqrstuvwxyz") for _ in range(random.randint(2, 12)))
         for _ in range(5000)]
with zipfile.ZipFile(sys.argv[1], "w", zipfile.ZIP_DEFLATED, compresslevel=6) as z:
    for n in range(50):
        text = b" ".join(random.choice(words) for _ in range(300000))
        noise = random.randbytes(len(text) // 4)
        z.writestr("bench/file%02d.dat" % n, (text + noise)[:2 * 1024 * 1024])
