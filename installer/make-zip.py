#!/usr/bin/env python3
"""Zips a staged package the same way every time: the entries in name order,
each stamped SOURCE_DATE_EPOCH (from the environment; not before 1980, the
first time a ZIP can hold), read-only for others whatever the umask was, with
no extra fields. The same files give the same bytes.

    make-zip.py STAGE OUTPUT
"""
import os
import sys
import time
import zipfile

ZIP_EPOCH = 315532800  # 1980-01-01 00:00:00 UTC


def entry_time():
    epoch = os.environ.get("SOURCE_DATE_EPOCH")
    if epoch is None or not epoch.isdigit():
        sys.exit("make-zip: SOURCE_DATE_EPOCH must be set to a number of seconds")
    return time.gmtime(max(int(epoch), ZIP_EPOCH))[:6]


def main(argv):
    if len(argv) != 3:
        sys.exit(__doc__)
    stage, output = argv[1:]
    stamp = entry_time()
    names = []
    for folder, dirs, files in os.walk(stage):
        dirs.sort()
        names += [os.path.relpath(os.path.join(folder, name), stage).replace(os.sep, "/") for name in files]
    if not names:
        sys.exit(f"make-zip: nothing staged in {stage}")
    partial = output + ".partial"
    with zipfile.ZipFile(partial, "w") as z:
        for name in sorted(names):
            info = zipfile.ZipInfo(name, date_time=stamp)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 3  # Unix, so the mode below is read
            mode = 0o755 if os.access(os.path.join(stage, name), os.X_OK) else 0o644
            info.external_attr = (0o100000 | mode) << 16
            with open(os.path.join(stage, name), "rb") as f:
                z.writestr(info, f.read(), compresslevel=9)
    os.replace(partial, output)


if __name__ == "__main__":
    main(sys.argv)
