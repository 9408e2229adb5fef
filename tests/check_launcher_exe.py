#!/usr/bin/env python3
"""Reads the built launcher.exe and checks what makes it a trustworthy Windows program:
32-bit x86, GUI subsystem, ASLR and DEP on, nothing but KERNEL32 imported at load time,
the embedded manifest, the version resource and the icon.

usage: check_launcher_exe.py LAUNCHER_EXE EXPECTED_VERSION [SECOND_BUILD_EXE]
With a second build, both files must be byte-identical."""
import os
import re
import struct
import sys

IMAGE_FILE_MACHINE_I386 = 0x14C
IMAGE_SUBSYSTEM_WINDOWS_GUI = 2
DYNAMIC_BASE, NX_COMPAT = 0x0040, 0x0100
RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24
ALLOWED_IMPORTS = {"kernel32.dll"}

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


class Image:
    def __init__(self, data):
        self.data = data
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        check(data[pe:pe + 4] == b"PE\0\0", "PE signature")
        (self.machine, sections, _, _, _, optional_size, _) = struct.unpack_from("<HHIIIHH", data, pe + 4)
        opt = pe + 24
        self.magic = struct.unpack_from("<H", data, opt)[0]
        self.subsystem, self.dll_characteristics = struct.unpack_from("<HH", data, opt + 68)
        count = struct.unpack_from("<I", data, opt + 92)[0]
        self.directories = [struct.unpack_from("<II", data, opt + 96 + 8 * i) for i in range(count)]
        self.sections = []
        self.section_names = []
        for i in range(sections):
            s = opt + optional_size + 40 * i
            name, vsize, vaddr, raw_size, raw_ptr = struct.unpack_from("<8sIIII", data, s)
            self.sections.append((vaddr, max(vsize, raw_size), raw_ptr))
            self.section_names.append(name.rstrip(b"\0").decode("ascii", "replace"))

    def offset(self, rva):
        for vaddr, size, raw in self.sections:
            if vaddr <= rva < vaddr + size:
                return rva - vaddr + raw
        raise ValueError(f"rva {rva:#x} outside every section")

    def cstring(self, rva):
        start = self.offset(rva)
        return self.data[start:self.data.index(b"\0", start)].decode("ascii")

    def imports(self):
        rva, _ = self.directories[1]
        names, at = [], self.offset(rva)
        while True:
            desc = struct.unpack_from("<IIIII", self.data, at)
            if not any(desc):
                return names
            names.append(self.cstring(desc[3]).lower())
            at += 20

    def resources(self):
        """Yields (type id, name id, bytes) for every resource."""
        base_rva, size = self.directories[2]
        if size == 0:
            return
        base = self.offset(base_rva)

        def entries(at):
            named, ids = struct.unpack_from("<HH", self.data, base + at + 12)
            for i in range(named + ids):
                yield struct.unpack_from("<II", self.data, base + at + 16 + 8 * i)

        for type_id, type_at in entries(0):
            for name_id, name_at in entries(type_at & 0x7FFFFFFF):
                for _, leaf in entries(name_at & 0x7FFFFFFF):
                    rva, size = struct.unpack_from("<II", self.data, base + leaf)
                    yield type_id, name_id, self.data[self.offset(rva):self.offset(rva) + size]


def main():
    path, version = sys.argv[1], sys.argv[2]
    data = open(path, "rb").read()
    image = Image(data)

    check(image.machine == IMAGE_FILE_MACHINE_I386, f"machine is i386 (got {image.machine:#x})")
    check(image.magic == 0x10B, "PE32 (32-bit) optional header")
    check(image.subsystem == IMAGE_SUBSYSTEM_WINDOWS_GUI, f"GUI subsystem (got {image.subsystem})")
    check(image.dll_characteristics & DYNAMIC_BASE, "DYNAMIC_BASE set")
    check(image.dll_characteristics & NX_COMPAT, "NX_COMPAT set")

    # It starts without the C runtime, so nothing would run a global constructor: the link
    # map beside the .exe must show no object contributing one.
    check(not {".CRT", ".tls"} & set(image.section_names), "no C runtime start-up sections")
    link_map = os.path.splitext(path)[0] + ".map"
    constructors = re.findall(r"^\s*\.ctors\S*\s+0x[0-9a-f]+\s+0x[0-9a-f]+\s+(\S+)",
                              open(link_map).read(), re.M)
    check(not constructors, f"no global constructors (from {constructors})")

    imports = image.imports()
    check(set(imports) <= ALLOWED_IMPORTS, f"imports only {sorted(ALLOWED_IMPORTS)} (got {imports})")
    check("kernel32.dll" in imports, "imports KERNEL32")

    resources = list(image.resources())
    types = {t for t, _, _ in resources}
    manifests = [body for t, _, body in resources if t == RT_MANIFEST]
    check(len(manifests) == 1, "exactly one embedded manifest")
    manifest = manifests[0].decode("utf-8") if manifests else ""
    for needle in [
        'level="asInvoker"', 'uiAccess="false"',
        "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  # Windows 7
        "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  # Windows 8
        "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  # Windows 8.1
        "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  # Windows 10 and 11
        'name="Microsoft.Windows.Common-Controls"', 'version="6.0.0.0"',
        "<dpiAware", "<dpiAwareness",
    ]:
        check(needle in manifest, f"manifest holds {needle}")

    check(RT_ICON in types and RT_GROUP_ICON in types, "an icon")
    versions = [body for t, _, body in resources if t == RT_VERSION]
    check(len(versions) == 1, "exactly one version resource")
    text = versions[0].decode("utf-16-le", errors="replace") if versions else ""
    for needle in ["ProductName", "FileDescription", "FileVersion", "ProductVersion", version]:
        check(needle in text, f"version resource holds {needle}")

    if len(sys.argv) > 3:
        check(data == open(sys.argv[3], "rb").read(), "two builds in different folders are identical")

    for f in failures:
        print("FAILED:", f)
    print(f"{path}: {len(data)} bytes, imports {imports}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
