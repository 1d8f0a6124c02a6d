#!/usr/bin/env python3
"""Cuts installer files by hand for the payload tests, around the length rules
of the container: a stand-in program image, the real unzip library, the size
table and archives made by Python's zipfile.
Usage: make_test_containers.py FOLDER UNZLIB ARCHIVES"""
import io
import os
import struct
import sys
import zipfile
import zlib

IMAGE_SLOT, LIBRARY_SLOT = 0xA0600, 0x1CE00
MINIMUM = IMAGE_SLOT + LIBRARY_SLOT + 500


def image():
    return (b"MZ" + b"stand-in image").ljust(IMAGE_SLOT, b"\0")


def container(library, archives, table=None, tail=b""):
    sizes = [len(a) for a in archives] if table is None else table
    table_bytes = struct.pack("<100I", *(sizes + [0] * (100 - len(sizes))))
    return image() + library + table_bytes + b"".join(archives) + tail


def with_trailer(data, damage_at=None):
    """The container with its integrity trailer; damage_at flips one byte after
    the trailer is computed."""
    covered = data[IMAGE_SLOT:]
    trailer = b"ZQPAYCRC" + struct.pack("<II", len(covered), zlib.crc32(covered))
    data = bytearray(data + trailer + b"signature block")
    if damage_at is not None:
        data[damage_at] ^= 0x01
    return bytes(data)


def component(name, files=()):
    data = io.BytesIO()
    with zipfile.ZipFile(data, "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr(name + "/ver.ini", b"[Files]\r\n")
        for member, content in files:
            z.writestr(name + "/" + member, content)
    return data.getvalue()


def smallest_archive():
    """A valid archive of exactly 100 bytes: one empty member named "a"."""
    data = io.BytesIO()
    with zipfile.ZipFile(data, "w", zipfile.ZIP_STORED) as z:
        z.writestr(zipfile.ZipInfo("a", date_time=(2024, 1, 1, 0, 0, 0)), b"")
    assert len(data.getvalue()) == 100
    return data.getvalue()


def main(folder, unzlib, archives_folder):
    os.makedirs(folder, exist_ok=True)
    with open(unzlib, "rb") as f:
        library = f.read()
    assert len(library) == LIBRARY_SLOT

    def archive(name):
        with open(os.path.join(archives_folder, name), "rb") as f:
            return f.read()

    uninst = component("uninst", [("install.ini", b"[Install]\r\n")])
    minimum = container(library, [smallest_archive()])
    assert len(minimum) == MINIMUM
    four = [uninst] + [component("teil%d" % n, [("daten%d.txt" % n, b"x" * (100 * n))]) for n in range(1, 4)]
    files = {
        "minimum.exe": minimum,
        "one_less.exe": minimum[:-1],
        "shorter_than_image.exe": image()[:1000],
        "no_archive.exe": container(library, [], tail=bytes(500)),
        "hundred.exe": container(library, [component("c%d" % n) for n in range(100)]),
        "cut_first.exe": container(library, [uninst], table=[len(uninst) + 1000]),
        "cut_third.exe": container(library, four[:3], table=[len(four[0]), len(four[1]), len(four[2]) + 1]),
        "four.exe": container(library, four),
        "sealed.exe": with_trailer(container(library, four)),
        "damaged.exe": with_trailer(container(library, four), damage_at=IMAGE_SLOT + LIBRARY_SLOT + 400 + 50),
        "empty_archive.exe": container(library, [uninst, archive("empty.zip")]),
        "only_folders.exe": container(library, [uninst, archive("only_folders.zip")]),
        "not_a_zip.exe": container(library, [uninst, archive("not_a_zip.bin")]),
        "bad_crc.exe": container(library, [archive("bad_crc.zip"), uninst]),
        "hostile.exe": container(library, [archive("hostile.zip")]),
        "no_library.exe": container(bytes(LIBRARY_SLOT), [uninst]),
        "update.exe": container(library, [component("uninst", [(
            "install.ini", b"[install]\r\nupdate=1\r\nname=Produkt\r\nRegRoot=ZqInitTest\r\n")])]),
    }
    for name, data in files.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main(*sys.argv[1:])
