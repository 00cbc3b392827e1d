#!/usr/bin/python3
# Prints what a Windows executable says about itself: each string of its version resource as
# "Name=value", then its application manifest after a line "manifest:".
#   tests/package/pe-resources.py PROGRAM.exe
# Debian's python3 with python3-pefile (tools/install-deps).
import sys

import pefile

RT_MANIFEST = 24

pe = pefile.PE(sys.argv[1])
found = False
for info in getattr(pe, "FileInfo", []):
    for entry in info:
        for table in getattr(entry, "StringTable", []):
            for name, value in table.entries.items():
                print(f"{name.decode()}={value.decode()}")
                found = True
if not found:
    sys.exit(f"{sys.argv[1]}: no version resource")

resources = pe.DIRECTORY_ENTRY_RESOURCE.entries if hasattr(pe, "DIRECTORY_ENTRY_RESOURCE") else []
manifests = [
    pe.get_data(language.data.struct.OffsetToData, language.data.struct.Size)
    for kind in resources
    if kind.id == RT_MANIFEST
    for name in kind.directory.entries
    for language in name.directory.entries
]
if len(manifests) != 1:
    sys.exit(f"{sys.argv[1]}: {len(manifests)} manifests, expected one")
print("manifest:")
print(manifests[0].decode("utf-8"))
