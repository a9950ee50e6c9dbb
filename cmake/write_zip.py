#!/usr/bin/env python3
"""Writes a zip whose bytes depend only on the names and contents of the
files: entries in sorted order, all with one fixed time, fixed attributes and
no extra fields. (CMake's own zip writers store each file's access and change
times, so two builds of the same sources give different zips.)

    write_zip.py OUT.zip EPOCH ROOT PREFIX FILE...

FILE names are relative to ROOT and become PREFIX + FILE in the zip. EPOCH
(seconds, UTC) is the entries' time; zip cannot hold times before 1980.
"""
import os
import sys
import time
import zipfile

ZIP_EPOCH_MIN = 315532800  # 1980-01-01 00:00:00 UTC


def main(argv):
    out, epoch, root, prefix = argv[1:5]
    stamp = time.gmtime(max(int(epoch), ZIP_EPOCH_MIN))[:6]
    with zipfile.ZipFile(out, "w") as archive:
        for name in sorted(argv[5:]):
            info = zipfile.ZipInfo(prefix + name, stamp)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 0  # MS-DOS attributes: the zip is for Windows
            info.external_attr = 0x20  # FILE_ATTRIBUTE_ARCHIVE
            with open(os.path.join(root, name), "rb") as source:
                archive.writestr(info, source.read(), compresslevel=9)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
