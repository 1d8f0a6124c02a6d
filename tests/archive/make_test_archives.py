#!/usr/bin/env python3
"""Writes the ZIP archives the archive tests read, made with Python's zipfile
(an implementation independent of ours). Usage: make_test_archives.py FOLDER"""
import io
import os
import struct
import subprocess
import sys
import tempfile
import zipfile


def archive(members, comment=b"", create_system=None):
    data = io.BytesIO()
    with zipfile.ZipFile(data, "w") as z:
        for name, content, method in members:
            info = zipfile.ZipInfo(name, date_time=(2024, 5, 17, 10, 0, 0))
            info.compress_type = method
            if create_system is not None:
                info.create_system = create_system
            z.writestr(info, content)
        z.comment = comment
    return data.getvalue()


class Unseekable(io.RawIOBase):
    """A stream zipfile cannot seek in, so it writes data descriptors."""

    def __init__(self):
        self.data = bytearray()

    def writable(self):
        return True

    def write(self, b):
        self.data += b
        return len(b)


def with_descriptors(members):
    out = Unseekable()
    with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as z:
        for name, content in members:
            with z.open(name, "w") as f:
                f.write(content)
    return bytes(out.data)


def made_by_7z():
    """Nested folders packed by 7z, a second independent implementation."""
    with tempfile.TemporaryDirectory() as work:
        os.makedirs(os.path.join(work, "comp", "a", "b"))
        for name, content in (("comp/ver.ini", b"[component]\r\n"), ("comp/a/b/tief.dat", bytes(range(256)) * 40)):
            with open(os.path.join(work, name), "wb") as f:
                f.write(content)
        target = os.path.join(work, "seven.zip")
        subprocess.run(["7z", "a", "-tzip", "-mx=9", target, "comp"], cwd=work, check=True,
                       stdout=subprocess.DEVNULL)
        with open(target, "rb") as f:
            return f.read()


def encrypted_by_7z():
    """A member encrypted the traditional way, as 7z does with -mem=ZipCrypto."""
    with tempfile.TemporaryDirectory() as work:
        with open(os.path.join(work, "geheim.txt"), "wb") as f:
            f.write(b"Quotaline " * 50)
        target = os.path.join(work, "encrypted.zip")
        subprocess.run(["7z", "a", "-tzip", "-mem=ZipCrypto", "-pgeheim", target, "geheim.txt"], cwd=work,
                       check=True, stdout=subprocess.DEVNULL)
        with open(target, "rb") as f:
            return f.read()


# Member names as publishers' tools store them: the stored bytes, general
# purpose flags, host and version, the name the installer writes (None: it
# cannot write one) and what zqpack check says of it.
NAME_CASES = [
    (b"gr\x81n.txt", 0, 0, 20, "grün.txt", "none"),  # MS-DOS host in code page 850 (Windows tools)
    ("größe.txt".encode(), 0x800, 3, 20, "größe.txt", "none"),  # flagged UTF-8 (Python's zipfile, 7z)
    ("Maß €.txt".encode(), 0x800, 0, 20, "Maß €.txt", "none"),  # flagged UTF-8 from an MS-DOS host
    ("café.txt".encode("latin-1"), 0, 3, 20, "café.txt", "none"),  # Unix host in a legacy code page
    (b"\x94l.txt", 0, 11, 50, "öl.txt", "none"),  # NTFS 5.0 host in code page 850
    ("grüße.txt".encode(), 0, 3, 30, "grÃ¼ÃŸe.txt", "warning"),  # unmarked UTF-8 (Info-ZIP's zip on Linux)
    # Code page 850 that Windows-1252 lacks: the system's look-alikes.
    (b"Rahmen \xc9\xcd\xbb.txt", 0, 0, 20, "Rahmen +-+.txt", "warning", "look-alike"),
    (b"\xb0 D\xd5ner \xdc\xdf.txt", 0, 0, 20, "¦ Diner _¯.txt", "warning", "look-alike"),
    ("中文.txt".encode(), 0x800, 3, 20, None, "error"),  # no Windows-1252 form
]


def stored_by(tool, name):
    """How the tool stores a file's name: its bytes, flags, host and version."""
    with tempfile.TemporaryDirectory() as work:
        with open(os.path.join(work, name), "wb") as f:
            f.write(b"Inhalt")
        target = os.path.join(work, "made.zip")
        command = {"7z": ["7z", "a", "-tzip", target, name], "zip": ["zip", "-q", target, name]}[tool]
        subprocess.run(command, cwd=work, check=True, stdout=subprocess.DEVNULL,
                       env=dict(os.environ, LC_ALL="C.UTF-8"))
        with open(target, "rb") as f:
            data = f.read()
    central = data.rfind(b"PK\x01\x02")
    version, host, flags = data[central + 4], data[central + 5], int.from_bytes(data[central + 8:central + 10], "little")
    length = int.from_bytes(data[central + 28:central + 30], "little")
    return data[central + 46:central + 46 + length], flags & 0x0800, host, version


def check_tools_store_as_the_table_says():
    """The table's flagged and unmarked UTF-8 cases are what 7z and Info-ZIP's zip write on Linux."""
    for tool, name, case in (("7z", "größe.txt", 1), ("zip", "grüße.txt", 5)):
        stored, flags, host, _ = stored_by(tool, name)
        assert (stored, flags, host) == NAME_CASES[case][:3], (tool, stored, flags, host)


def named_archive(folder, cases, descriptor):
    """The cases as members of folder/, each stored with its own bytes and marks."""
    placeholders = [b"%c" % (ord("A") + i) * len(case[0]) for i, case in enumerate(cases)]
    data = io.BytesIO()
    with zipfile.ZipFile(data, "w") as z:
        z.writestr(zipfile.ZipInfo(folder + "/ver.ini", date_time=(2024, 5, 17, 10, 0, 0)), descriptor)
        for placeholder, (_, _, host, version, *_) in zip(placeholders, cases):
            info = zipfile.ZipInfo(folder + "/" + placeholder.decode(), date_time=(2024, 5, 17, 10, 0, 0))
            info.create_system, info.create_version = host, version
            z.writestr(info, b"Inhalt")
    out = bytearray(data.getvalue())
    for placeholder, (stored, flags, *_) in zip(placeholders, cases):
        for signature, flag_at in ((b"PK\x03\x04", 6), (b"PK\x01\x02", 8)):
            at = out.find(b"/" + placeholder) + 1
            header = out.rfind(signature, 0, at)
            out[at:at + len(stored)] = stored
            out[header + flag_at] |= flags & 0xFF
            out[header + flag_at + 1] |= flags >> 8
    return bytes(out)


def name_archives():
    """names.zip with the cases the installer writes, copied by its ver.ini;
    unwritable_names.zip with the others; names.txt with the expected outcome
    of each member in order: the name on disk in Windows-1252 (hex, "-" for
    none), zqpack's finding, and whether that name is exact or has look-alikes."""
    writable = [case for case in NAME_CASES if case[4] is not None]
    unwritable = [case for case in NAME_CASES if case[4] is None]
    copies = "".join("%%thisDir%%%s=%%installDir%%namen\\%s\r\n" % (case[4], case[4]) for case in writable)
    descriptor = ("[component]\r\nname=namen\r\n[copy]\r\n" + copies).encode("cp1252")
    # Whether the name on disk is the stored one exactly, or holds the system's look-alikes.
    table = "".join("%s\t%s\t%s\n" % (case[4].encode("cp1252").hex() if case[4] else "-", case[5],
                                      "look-alike" if "look-alike" in case[6:] else "exact")
                    for case in writable + unwritable)
    return {"names.zip": named_archive("namen", writable, descriptor),
            "unwritable_names.zip": named_archive("namen", unwritable, b"[component]\r\nname=namen\r\n"),
            "names.txt": table.encode()}


def main(folder):
    os.makedirs(folder, exist_ok=True)
    store, deflate = zipfile.ZIP_STORED, zipfile.ZIP_DEFLATED
    basic = archive([("viewer/ver.ini", b"[component]\r\nname=viewer\r\n", store),
                     ("viewer/", b"", store),
                     ("viewer/bin/ql.exe", b"MZ" + bytes(5000), deflate),
                     ("viewer/daten/liesmich.txt", b"Hallo\r\n" * 100, deflate)])
    files = {
        "basic.zip": basic,
        "comment.zip": archive([("a.txt", b"a", store)], comment=b"Quotaline-Komponente"),
        "long_comment.zip": archive([("a.txt", b"a", store)], comment=b"K" * 65535),
        "padded.zip": basic + bytes(-len(basic) % 512 or 512),
        "junk.zip": basic + b"JUNK",
        "zero_not_block.zip": basic + bytes(3),
        "only_folders.zip": archive([("leer/", b"", store), ("leer/unter/", b"", store)]),
        "empty.zip": archive([]),
        # A name stored by an MS-DOS host in the OEM code page: 0x81 is u-umlaut.
        "dos_host.zip": archive([("grXn.txt", b"x", store)], create_system=0).replace(b"grXn", b"gr\x81n"),
        "truncated.zip": basic[: len(basic) - 40],
        "not_a_zip.bin": b"Dies ist kein Archiv." * 10,
    }
    # The stored directory offset one byte off: a structure warning, still readable.
    shifted = bytearray(basic)
    end = shifted.rfind(b"PK\x05\x06")
    offset = int.from_bytes(shifted[end + 16:end + 20], "little")
    shifted[end + 16:end + 20] = (offset + 1).to_bytes(4, "little")
    files["bad_offset.zip"] = bytes(shifted)
    # Names that would leave the extraction folder, around one harmless member.
    files["hostile.zip"] = archive([("../evil.txt", b"evil", store), ("sub/../../evil2.txt", b"evil", store),
                                    ("/abs_evil.txt", b"evil", store), ("C:/drive_evil.txt", b"evil", store),
                                    ("sub/ok.txt", b"ok", store)])
    # One data byte changed: the stored CRC-32 no longer fits.
    crc = bytearray(archive([("daten.txt", b"Quotaline " * 20, store)]))
    crc[crc.find(b"Quotaline")] ^= 0x20
    files["bad_crc.zip"] = bytes(crc)
    # A member that inflates to far more than its directory entry announces.
    bomb = bytearray(archive([("bombe.dat", bytes(4 << 20), deflate)]))
    bomb[22:26] = (1000).to_bytes(4, "little")
    central = bomb.rfind(b"PK\x01\x02")
    bomb[central + 24:central + 28] = (1000).to_bytes(4, "little")
    files["understated.zip"] = bytes(bomb)
    # Members of many pieces each, deflated and stored.
    pattern = bytes((i * 31 + i // 977) & 0xFF for i in range(3 << 20))
    files["large.zip"] = archive([("gross/gepackt.dat", pattern, deflate),
                                  ("gross/gespeichert.dat", pattern[:700000], store)])
    files["descriptors.zip"] = with_descriptors([("d/eins.txt", b"eins " * 300), ("d/zwei.txt", b"zwei")])
    files["seven.zip"] = made_by_7z()
    files["encrypted.zip"] = encrypted_by_7z()
    # The encryption flag over plain bytes, in the local header and the directory: refused all the same.
    flagged = bytearray(archive([("offen.txt", b"offen", store)]))
    flagged[6] |= 0x1
    flagged[flagged.rfind(b"PK\x01\x02") + 8] |= 0x1
    files["flagged.zip"] = bytes(flagged)
    check_tools_store_as_the_table_says()
    files.update(name_archives())
    # One member with MS-DOS local time only, one with an extended timestamp
    # (2020-01-02 03:04:05 UTC) beside a different MS-DOS time.
    times = io.BytesIO()
    with zipfile.ZipFile(times, "w") as z:
        z.writestr(zipfile.ZipInfo("zeit/dos.txt", date_time=(2024, 5, 17, 10, 0, 6)), b"dos")
        info = zipfile.ZipInfo("zeit/utc.txt", date_time=(2024, 5, 17, 10, 0, 6))
        info.extra = struct.pack("<HHBI", 0x5455, 5, 1, 1577934245)
        z.writestr(info, b"utc")
    files["times.zip"] = times.getvalue()
    for name, data in files.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main(sys.argv[1])
