#!/usr/bin/env python3
"""Shows that check_accounts.py fails on accounts that are wrong: the real
SHA256SUMS and SBOM of the build pass, and each of these copies fails:
a file's SHA-256 changed in the SBOM, a linked component left out of it, a
download left out of SHA256SUMS, and an MSI package beside the others that
the accounts do not cover.

    check_accounts_catches.py WORK CHECK_ACCOUNTS_ARGUMENTS...

The arguments are those of check_accounts.py; WORK is a scratch folder.
"""
import json
import os
import shutil
import subprocess
import sys


def value(args, option):
    return args[args.index(option) + 1]


def replaced(args, option, new):
    out = list(args)
    out[out.index(option) + 1] = new
    return out


def run(args):
    return subprocess.run([sys.executable, os.path.join(os.path.dirname(__file__), "check_accounts.py")] + args,
                          capture_output=True, text=True)


def main(argv):
    if len(argv) < 3:
        sys.exit(__doc__)
    work, args = argv[1], argv[2:]
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    with open(value(args, "--sbom"), encoding="utf-8") as f:
        sbom = json.load(f)
    with open(value(args, "--sums"), encoding="utf-8") as f:
        sums = f.read().splitlines()

    def sbom_copy(name, change):
        document = json.loads(json.dumps(sbom))
        change(document)
        path = os.path.join(work, name)
        with open(path, "w", encoding="utf-8") as f:
            json.dump(document, f)
        return replaced(args, "--sbom", path)

    def wrong_hash(document):
        entry = next(f for f in document["files"] if f["fileName"].endswith("Tavrel.cpg"))
        entry["checksums"][0]["checksumValue"] = "0" * 64

    def no_libstdcxx(document):
        document["packages"] = [p for p in document["packages"] if p["name"] != "libstdc++"]

    short_sums = os.path.join(work, "SHA256SUMS")
    with open(short_sums, "w", encoding="utf-8") as f:
        f.write("\n".join(sums[1:]) + "\n")
    build_with_msi = os.path.join(work, "build")
    os.makedirs(build_with_msi)
    msi = os.path.join(build_with_msi, f"Tavrel-{value(args, '--version')}-{value(args, '--arch')}.msi")
    with open(msi, "wb") as f:
        f.write(b"not covered")

    cases = [
        ("a wrong SHA-256 in the SBOM", sbom_copy("hash.spdx.json", wrong_hash)),
        ("libstdc++ left out of the SBOM", sbom_copy("component.spdx.json", no_libstdcxx)),
        ("a download left out of SHA256SUMS", replaced(args, "--sums", short_sums)),
        ("an MSI package the accounts do not cover", replaced(args, "--build", build_with_msi)),
    ]
    status = 0
    real = run(args)
    if real.returncode != 0:
        print(f"check-accounts-catches: the build's own accounts fail:\n{real.stderr}", file=sys.stderr)
        status = 1
    for what, case_args in cases:
        result = run(case_args)
        if result.returncode == 0:
            print(f"check-accounts-catches: {what} passes the check", file=sys.stderr)
            status = 1
        else:
            print(f"check-accounts-catches: {what}: {result.stderr.strip().splitlines()[0]}")
    sys.exit(status)


if __name__ == "__main__":
    main(sys.argv)
