#!/usr/bin/env python3
"""Makes the benchmark's tree: FILES files of about SIZE bytes each in nested folders
(10 folders, each with 10 sub-folders, the files spread over all of them), or with "flat" all
in the one folder.

    gen-tree.py <folder> [files] [bytes-per-file] [flat]
"""
import os
import sys

root = sys.argv[1]
files = int(sys.argv[2]) if len(sys.argv) > 2 else 10000
size = int(sys.argv[3]) if len(sys.argv) > 3 else 10240
block = bytes((i * 7 + 3) % 256 for i in range(size))
folders = [os.path.join(root, "dir%02d" % a, "sub%02d" % b) for a in range(10) for b in range(10)]
if len(sys.argv) > 4 and sys.argv[4] == "flat":
    folders = [root]
for f in folders:
    os.makedirs(f, exist_ok=True)
for i in range(files):
    folder = folders[i % len(folders)]
    with open(os.path.join(folder, "file%05d.tmp" % i), "wb") as out:
        out.write(block)
