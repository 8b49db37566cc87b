#!/usr/bin/env python3
"""Writes the accounts of a Windows release: SHA256SUMS over every download
and an SPDX 2.3 JSON SBOM naming every file of the package and every download
with its SHA-256 (and SHA-1, which SPDX requires), and every toolchain
component that the link maps show linked statically into a shipped binary,
with the Debian package that provides it, its version and its licence.

    make-accounts.py --name NAME --version VERSION --arch ARCH --supplier TEXT
        --stage STAGE --binary FILE=MAP... --sums SHA256SUMS --sbom SBOM DOWNLOAD...
    make-accounts.py --combined --name NAME --version VERSION --supplier TEXT
        --part SBOM... --sums SHA256SUMS --sbom SBOM DOWNLOAD...

STAGE holds the package as installed (Plugins/Tavrel/...). With --combined
the downloads hold the packages whose SBOMs (of one build each) are the
parts: the document names the downloads and refers to the parts for what is
in them. Tavrel's licence is the one of the LICENSE file at the top of the
source tree. The document's time is SOURCE_DATE_EPOCH (from the environment)
and its namespace follows from the downloads' hashes, so the same files give
the same bytes.
"""
import argparse
import hashlib
import importlib.util
import json
import os
import re
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources"))
import toolchain_components  # noqa: E402  (the one list of the components)

MINGW_COPYRIGHT = "/usr/share/doc/mingw-w64-{arch}-dev/copyright"
# Debian's short names of the mingw-w64 licences that SPDX knows by another
# name; the rest are given as LicenseRef-Debian-<name> with their text.
SPDX_NAMES = {"ZPL-2.1": "ZPL-2.1", "ISC": "ISC", "expat": "MIT", "BSD-3-clause": "BSD-3-Clause",
              "BSD-2-clause-NetBSD": "BSD-2-Clause-NetBSD"}
NOTICES_FOR_PARTS = {"mingw-w64-runtime": "mingw-w64", "winpthreads": "winpthreads"}
LICENSE_FILE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "LICENSE")
# The SPDX identifier of what LICENSE holds.
LICENSE_ID = "MIT"


def digest(path, algorithm):
    h = hashlib.new(algorithm)
    with open(path, "rb") as f:
        for block in iter(lambda: f.read(1 << 20), b""):
            h.update(block)
    return h.hexdigest()


def spdx_id(text):
    return re.sub(r"[^A-Za-z0-9.-]", "-", text)


def debian_package(path):
    """The installed Debian package that provides PATH and its version."""
    owner = subprocess.run(["dpkg-query", "-S", path], capture_output=True, text=True)
    if owner.returncode != 0:
        sys.exit(f"make-accounts: no Debian package provides {path}")
    package = owner.stdout.split(":", 1)[0].split(",")[0].strip()
    version = subprocess.run(["dpkg-query", "-W", "-f=${Version}", package], check=True, capture_output=True,
                             text=True).stdout.strip()
    return package, version


def mingw_licences(arch):
    """For each mingw-w64 part: its SPDX expression and the licences of our
    own naming (LicenseRef-...) with their texts, from the copyright file."""
    spec = importlib.util.spec_from_file_location(
        "make_notices", os.path.join(os.path.dirname(toolchain_components.__file__), "make-notices.py"))
    make_notices = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(make_notices)
    with open(MINGW_COPYRIGHT.format(arch=arch.replace("_", "-")), encoding="utf-8") as f:
        sections = make_notices.mingw_sections(f.read())
    expressions, extracted = {}, {}
    for component, part in NOTICES_FOR_PARTS.items():
        ids = []
        for name, text in sections[part][1]:
            licence = SPDX_NAMES.get(name) or "LicenseRef-Debian-" + spdx_id(name)
            if licence.startswith("LicenseRef-"):
                extracted[licence] = {"licenseId": licence, "name": name, "extractedText": text}
            if licence not in ids:
                ids.append(licence)
        expressions[component] = " AND ".join(ids)
    return expressions, extracted


def components(binaries):
    """component -> {"files": toolchain files, "packages": {(pkg, version)},
    "binaries": names of the shipped binaries that link it}."""
    found = {}
    for name, map_path in binaries:
        for item in toolchain_components.linked_toolchain_files(map_path):
            component = toolchain_components.classify(item)
            if component is None:
                sys.exit(f"make-accounts: {map_path} links {item}, which no component covers "
                         "(resources/toolchain_components.py)")
            if component == "system":
                continue
            entry = found.setdefault(component, {"files": set(), "packages": set(), "binaries": set()})
            entry["files"].add(item)
            entry["packages"].add(debian_package(os.path.realpath(item)))
            entry["binaries"].add(name)
    return found


def own_copyright():
    """The copyright line of LICENSE."""
    with open(LICENSE_FILE, encoding="utf-8") as f:
        for line in f:
            if line.startswith("Copyright"):
                return line.strip()
    sys.exit(f"make-accounts: {LICENSE_FILE} holds no copyright line")


def product_package(args, comment):
    return {
        "SPDXID": "SPDXRef-Package-" + spdx_id(args.name), "name": args.name, "versionInfo": args.version,
        "supplier": f"Organization: {args.supplier}", "downloadLocation": "NOASSERTION",
        "filesAnalyzed": False, "licenseConcluded": LICENSE_ID, "licenseDeclared": LICENSE_ID,
        "copyrightText": own_copyright(), "comment": comment,
    }


def write_sums(path, downloads):
    """SHA256SUMS: the format of sha256sum, binary mode, in name order."""
    with open(path + ".partial", "w", encoding="utf-8", newline="\n") as f:
        for download in downloads:
            f.write(f"{digest(download, 'sha256')} *{os.path.basename(download)}\n")
    os.replace(path + ".partial", path)


def write_document(path, args, epoch, download_files, body):
    name = f"{args.name}-{args.version}" + (f"-{args.arch}" if args.arch else "")
    identity = hashlib.sha256("".join(d["checksums"][0]["checksumValue"] for d in download_files).encode())
    document = {
        "spdxVersion": "SPDX-2.3",
        "dataLicense": "CC0-1.0",
        "SPDXID": "SPDXRef-DOCUMENT",
        "name": name,
        "documentNamespace": f"https://spdx.org/spdxdocs/{name}-{identity.hexdigest()}",
        "creationInfo": {
            "created": time.strftime("%Y-%m-%dT%H:%M:%SZ", time.gmtime(int(epoch))),
            "creators": [f"Organization: {args.supplier}", "Tool: make-accounts.py"],
        },
    }
    document.update(body)
    with open(path + ".partial", "w", encoding="utf-8", newline="\n") as f:
        json.dump(document, f, indent=2, ensure_ascii=False)
        f.write("\n")
    os.replace(path + ".partial", path)


def combined(args, epoch):
    """The accounts of a download that holds the packages of several builds."""
    downloads = sorted(args.downloads, key=os.path.basename)
    write_sums(args.sums, downloads)
    product = product_package(args, f"{args.name} for every Windows build; each part's SBOM names its files.")
    download_files = [file_entry(path, os.path.basename(path)) for path in downloads]
    refs, relationships = [], [{"spdxElementId": "SPDXRef-DOCUMENT", "relationshipType": "DESCRIBES",
                                "relatedSpdxElement": product["SPDXID"]}]
    for part in sorted(args.part, key=os.path.basename):
        with open(part, encoding="utf-8") as f:
            namespace = json.load(f)["documentNamespace"]
        ref = "DocumentRef-" + spdx_id(os.path.basename(part).removesuffix(".spdx.json"))
        refs.append({"externalDocumentId": ref, "spdxDocument": namespace,
                     "checksum": {"algorithm": "SHA1", "checksumValue": digest(part, "sha1")}})
        relationships.append({"spdxElementId": product["SPDXID"], "relationshipType": "CONTAINS",
                              "relatedSpdxElement": f"{ref}:{product['SPDXID']}"})
    for d in download_files:
        relationships.append({"spdxElementId": "SPDXRef-DOCUMENT", "relationshipType": "DESCRIBES",
                              "relatedSpdxElement": d["SPDXID"]})
        relationships.append({"spdxElementId": d["SPDXID"], "relationshipType": "DISTRIBUTION_ARTIFACT",
                              "relatedSpdxElement": product["SPDXID"]})
    write_document(args.sbom, args, epoch, download_files,
                   {"externalDocumentRefs": refs, "packages": [product], "files": download_files,
                    "relationships": relationships})


def file_entry(path, name):
    return {
        "SPDXID": "SPDXRef-File-" + spdx_id(name),
        "fileName": "./" + name,
        "checksums": [{"algorithm": "SHA256", "checksumValue": digest(path, "sha256")},
                      {"algorithm": "SHA1", "checksumValue": digest(path, "sha1")}],
        "licenseConcluded": "NOASSERTION",
        "copyrightText": "NOASSERTION",
    }


def main(argv):
    parser = argparse.ArgumentParser(usage=__doc__)
    is_combined = "--combined" in argv[1:]
    parser.add_argument("--combined", action="store_true")
    for option in ("--name", "--version", "--supplier", "--sums", "--sbom"):
        parser.add_argument(option, required=True)
    for option in ("--arch", "--stage"):
        parser.add_argument(option, required=not is_combined)
    parser.add_argument("--binary", action="append", required=not is_combined)
    parser.add_argument("--languages", required=not is_combined, help="the languages shipped, one a line")
    parser.add_argument("--part", action="append", required=is_combined)
    parser.add_argument("downloads", nargs="+")
    args = parser.parse_args(argv[1:])
    epoch = os.environ.get("SOURCE_DATE_EPOCH", "")
    if not epoch.isdigit():
        sys.exit("make-accounts: SOURCE_DATE_EPOCH must be set to a number of seconds")
    if args.combined:
        combined(args, epoch)
        return
    binaries = [tuple(b.split("=", 1)) for b in args.binary]
    triplet = "i686" if args.arch == "win32" else "x86_64"

    downloads = sorted(args.downloads, key=os.path.basename)
    write_sums(args.sums, downloads)

    product = "SPDXRef-Package-" + spdx_id(args.name)
    package_files = []
    for folder, dirs, names in os.walk(args.stage):
        dirs.sort()
        for n in names:
            path = os.path.join(folder, n)
            package_files.append((path, os.path.relpath(path, args.stage).replace(os.sep, "/")))
    package_files.sort(key=lambda item: item[1])
    files = [file_entry(path, name) for path, name in package_files]
    download_files = [file_entry(path, os.path.basename(path)) for path in downloads]
    relationships = [{"spdxElementId": "SPDXRef-DOCUMENT", "relationshipType": "DESCRIBES",
                      "relatedSpdxElement": product}]
    for f in files:
        relationships.append({"spdxElementId": product, "relationshipType": "CONTAINS",
                              "relatedSpdxElement": f["SPDXID"]})
    for d in download_files:
        relationships.append({"spdxElementId": "SPDXRef-DOCUMENT", "relationshipType": "DESCRIBES",
                              "relatedSpdxElement": d["SPDXID"]})
        relationships.append({"spdxElementId": d["SPDXID"], "relationshipType": "DISTRIBUTION_ARTIFACT",
                              "relatedSpdxElement": product})

    expressions, extracted = mingw_licences(triplet)
    with open(args.languages, encoding="utf-8") as f:
        languages = ", ".join(line.strip() for line in f if line.strip())
    packages = [product_package(
        args, f"The {args.arch} build of {args.name}, installed into <host folder>\\Plugins\\Tavrel. "
              f"User interface languages: {languages}.")]
    found = components(binaries)
    by_name = {name: f["SPDXID"] for f, (_, name) in zip(files, package_files)}
    for component in sorted(found):
        entry = found[component]
        described = toolchain_components.COMPONENTS[component]
        licence = described["license"] or expressions[component]
        if len(entry["packages"]) != 1:
            sys.exit(f"make-accounts: {component} comes from several packages: {sorted(entry['packages'])}")
        (deb, version), = entry["packages"]
        ident = "SPDXRef-Package-" + spdx_id(component)
        packages.append({
            "SPDXID": ident, "name": component, "versionInfo": version,
            "supplier": "Organization: Debian", "downloadLocation": "NOASSERTION", "filesAnalyzed": False,
            "licenseConcluded": licence, "licenseDeclared": licence, "copyrightText": "NOASSERTION",
            "summary": described["title"],
            "sourceInfo": f"Debian package {deb} {version}: "
                          + ", ".join(sorted(os.path.basename(f) for f in entry["files"])),
            "externalRefs": [{"referenceCategory": "PACKAGE-MANAGER", "referenceType": "purl",
                              "referenceLocator": f"pkg:deb/debian/{deb}@{version}"}],
        })
        for binary in sorted(entry["binaries"]):
            file_id = by_name.get(f"Plugins/Tavrel/{binary}")
            if file_id is None:
                sys.exit(f"make-accounts: the shipped binary {binary} is not in the package")
            relationships.append({"spdxElementId": file_id, "relationshipType": "STATIC_LINK",
                                  "relatedSpdxElement": ident})

    body = {"packages": packages, "files": files + download_files, "relationships": relationships}
    if extracted:
        body["hasExtractedLicensingInfos"] = [extracted[k] for k in sorted(extracted)]
    write_document(args.sbom, args, epoch, download_files, body)


if __name__ == "__main__":
    main(sys.argv)
