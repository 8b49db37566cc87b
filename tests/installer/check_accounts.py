#!/usr/bin/env python3
"""Checks the accounts of a Windows release against the files and the link
maps:

- SHA256SUMS lists every download (the given ones and every
  Tavrel-<version>-<arch>* setup program, MSI package or ZIP in the build
  folder), each with its right SHA-256, and nothing else;
- the SPDX 2.3 SBOM names every file of the staged package and every
  download with its right SHA-256 and SHA-1, and no file that is not there;
  its time is SOURCE_DATE_EPOCH;
- it names every toolchain component that a link map shows linked into a
  shipped binary, with the version of the Debian package that provides it
  and a licence, linked (STATIC_LINK) from that binary; the MinGW-w64
  runtime, winpthreads, libstdc++ and libgcc are among them;
- every relationship joins elements the document has.

    check_accounts.py --epoch N --version V --arch ARCH --build DIR --stage STAGE
        --sums SHA256SUMS --sbom SBOM --binary NAME=MAP... DOWNLOAD...
"""
import argparse
import glob
import hashlib
import json
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "resources"))
import toolchain_components  # noqa: E402

EXPECTED_COMPONENTS = {"mingw-w64-runtime", "winpthreads", "libstdc++", "libgcc"}
problems = []


def problem(text):
    problems.append(text)
    print(f"check-accounts: {text}", file=sys.stderr)


def digest(path, algorithm):
    with open(path, "rb") as f:
        return hashlib.new(algorithm, f.read()).hexdigest()


def check_sums(sums_path, downloads):
    listed = {}
    with open(sums_path, encoding="utf-8") as f:
        for line in f:
            value, name = line.rstrip("\n").split(" ", 1)
            listed[name.lstrip("*")] = value
    by_name = {os.path.basename(p): p for p in downloads}
    for name, path in by_name.items():
        if name not in listed:
            problem(f"SHA256SUMS lacks {name}")
        elif listed[name] != digest(path, "sha256"):
            problem(f"SHA256SUMS has the wrong hash for {name}")
    for name in listed:
        if name not in by_name:
            problem(f"SHA256SUMS lists {name}, which is not a download")


def check_files(sbom, stage, downloads):
    named = {f["fileName"]: f for f in sbom.get("files", [])}
    wanted = {}
    for folder, _, names in os.walk(stage):
        for n in names:
            path = os.path.join(folder, n)
            wanted["./" + os.path.relpath(path, stage).replace(os.sep, "/")] = path
    for path in downloads:
        wanted["./" + os.path.basename(path)] = path
    for name, path in sorted(wanted.items()):
        entry = named.get(name)
        if entry is None:
            problem(f"the SBOM does not name {name}")
            continue
        sums = {c["algorithm"]: c["checksumValue"] for c in entry.get("checksums", [])}
        for algorithm, key in (("sha256", "SHA256"), ("sha1", "SHA1")):
            if sums.get(key) != digest(path, algorithm):
                problem(f"the SBOM has the wrong {key} for {name}")
    for name in sorted(set(named) - set(wanted)):
        problem(f"the SBOM names {name}, which is not shipped")
    return {name: entry["SPDXID"] for name, entry in named.items()}


def debian_version(path):
    owner = subprocess.run(["dpkg-query", "-S", os.path.realpath(path)], check=True, capture_output=True,
                           text=True).stdout.split(":", 1)[0].split(",")[0].strip()
    return owner, subprocess.run(["dpkg-query", "-W", "-f=${Version}", owner], check=True, capture_output=True,
                                 text=True).stdout.strip()


def check_components(sbom, binaries, file_ids):
    packages = {p["name"]: p for p in sbom.get("packages", [])}
    links = {(r["spdxElementId"], r["relatedSpdxElement"]) for r in sbom.get("relationships", [])
             if r["relationshipType"] == "STATIC_LINK"}
    seen = set()
    for binary, map_path in binaries:
        for item in toolchain_components.linked_toolchain_files(map_path):
            component = toolchain_components.classify(item)
            if component is None:
                problem(f"{binary} links {item}, which no component covers")
                continue
            if component == "system":
                continue
            seen.add(component)
            package = packages.get(component)
            if package is None:
                problem(f"the SBOM does not name {component}, which {binary} links ({item})")
                continue
            deb, version = debian_version(item)
            if package.get("versionInfo") != version:
                problem(f"the SBOM gives {component} version {package.get('versionInfo')}, "
                        f"Debian's {deb} is {version}")
            if f"pkg:deb/debian/{deb}@{version}" not in [r.get("referenceLocator") for r in
                                                        package.get("externalRefs", [])]:
                problem(f"the SBOM does not name {deb} {version} as the source of {component}")
            if package.get("licenseDeclared") in (None, "", "NOASSERTION", "NONE"):
                problem(f"the SBOM gives no licence for {component}")
            binary_id = file_ids.get(f"./Plugins/Tavrel/{binary}")
            if (binary_id, package["SPDXID"]) not in links:
                problem(f"the SBOM does not say that {binary} links {component} statically")
    for component in sorted(EXPECTED_COMPONENTS - seen):
        problem(f"no link map shows {component}: are the maps read right?")
    return seen


def check_own_licence(sbom):
    own = [p for p in sbom.get("packages", []) if p.get("name") == "Tavrel"]
    if [p.get("licenseDeclared") for p in own] != ["MIT"]:
        problem(f"the SBOM declares no MIT licence for Tavrel: {[p.get('licenseDeclared') for p in own]}")


def check_relationships(sbom):
    ids = {"SPDXRef-DOCUMENT"} | {e["SPDXID"] for e in sbom.get("packages", []) + sbom.get("files", [])}
    for r in sbom.get("relationships", []):
        for end in (r["spdxElementId"], r["relatedSpdxElement"]):
            if end not in ids:
                problem(f"a {r['relationshipType']} relationship names {end}, which the SBOM lacks")
    refs = {e["licenseId"] for e in sbom.get("hasExtractedLicensingInfos", [])}
    for p in sbom.get("packages", []):
        for word in p.get("licenseDeclared", "").replace("(", " ").replace(")", " ").split():
            if word.startswith("LicenseRef-") and word not in refs:
                problem(f"{p['name']}'s licence {word} has no text in the SBOM")


def main(argv):
    parser = argparse.ArgumentParser(usage=__doc__)
    for option in ("--version", "--arch", "--build", "--stage", "--sums", "--sbom"):
        parser.add_argument(option, required=True)
    parser.add_argument("--epoch", type=int, required=True)
    parser.add_argument("--binary", action="append", required=True)
    parser.add_argument("downloads", nargs="+")
    args = parser.parse_args(argv[1:])
    downloads = set(args.downloads)
    for pattern in ("-setup.exe", "*.msi", ".zip"):
        downloads |= set(glob.glob(os.path.join(args.build, f"Tavrel-{args.version}*{pattern}")))
    downloads = sorted(os.path.realpath(p) for p in downloads)
    check_sums(args.sums, downloads)
    with open(args.sbom, encoding="utf-8") as f:
        sbom = json.load(f)
    if sbom.get("spdxVersion") != "SPDX-2.3" or sbom.get("SPDXID") != "SPDXRef-DOCUMENT":
        problem("the SBOM is not an SPDX 2.3 document")
    created = time.strftime("%Y-%m-%dT%H:%M:%SZ", time.gmtime(args.epoch))
    if sbom.get("creationInfo", {}).get("created") != created:
        problem(f"the SBOM was created {sbom.get('creationInfo', {}).get('created')}, not at {created}")
    file_ids = check_files(sbom, args.stage, downloads)
    seen = check_components(sbom, [tuple(b.split("=", 1)) for b in args.binary], file_ids)
    check_relationships(sbom)
    check_own_licence(sbom)
    if problems:
        sys.exit(1)
    print(f"check-accounts: {len(downloads)} downloads in SHA256SUMS, {len(file_ids)} files and "
          f"{len(seen)} linked components ({', '.join(sorted(seen))}) in the SBOM, every hash right")


if __name__ == "__main__":
    main(sys.argv)
