#!/usr/bin/env python3
"""zqpack as a user runs it: the installers it builds have the container layout
byte for byte, their archives read back in Python's zipfile and in 7z, and bad
input gives a clear error and leaves no output. Usage: zqpack_test.py ZQPACK"""
import io
import os
import struct
import subprocess
import sys
import tempfile
import unittest
import zipfile
import zlib

from self_signed import self_signed_certificate

ZQPACK = sys.argv.pop(1)
IMAGE_SLOT, LIBRARY_SLOT = 0xA0600, 0x1CE00
TABLE_OFFSET = IMAGE_SLOT + LIBRARY_SLOT
ARCHIVES_OFFSET = TABLE_OFFSET + 400
UNINST_DESCRIPTOR = b"[component]\r\nname=uninst\r\n[copy]\r\n%thisDir%install.ini=%installDir%uninst\\install.ini\r\n"


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


class ZqPack(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.TemporaryDirectory()
        self.dir = self.work.name
        self.image = b"MZ" + os.urandom(5000)
        self.library = b"MZ" + os.urandom(LIBRARY_SLOT - 2)  # fills its slot, as the real one does
        write(self.path("zqsetup.exe"), self.image)
        write(self.path("UnzLib.dll"), self.library)
        write(self.path("uninst/install.ini"), b"[Install]\r\nname=Quotaline\r\n")
        write(self.path("uninst/uninst.ini"), b"")
        write(self.path("uninst/ver.ini"), UNINST_DESCRIPTOR)
        write(self.path("tools/ver.ini"), b"[component]\r\nname=tools\r\n")
        write(self.path("tools/bin/tief/daten.bin"), os.urandom(70000) + bytes(70000))
        write(self.path("tools/Größe.txt"), "Grüße".encode("cp1252"))
        os.makedirs(self.path("tools/leer"))

    def tearDown(self):
        self.work.cleanup()

    def path(self, name):
        return os.path.join(self.dir, name)

    def run_zqpack(self, *args, image=None, library=None, output="setup.exe"):
        command = [ZQPACK, "--image", image or self.path("zqsetup.exe"), "--library",
                   library or self.path("UnzLib.dll"), "--output", self.path(output)]
        return subprocess.run(command + list(args), capture_output=True, encoding="utf-8", errors="replace")

    def build(self, *components):
        result = self.run_zqpack(*[self.path(c) for c in components])
        self.assertEqual(result.returncode, 0, result.stderr)
        with open(self.path("setup.exe"), "rb") as f:
            return f.read()

    def split(self, container):
        sizes = []
        for (size,) in struct.iter_unpack("<I", container[TABLE_OFFSET:ARCHIVES_OFFSET]):
            if size == 0:
                break
            sizes.append(size)
        archives, offset = [], ARCHIVES_OFFSET
        for size in sizes:
            archives.append(container[offset:offset + size])
            offset += size
        # The integrity trailer ends the file: signature, covered length, CRC-32.
        covered = container[IMAGE_SLOT:offset]
        self.assertEqual(container[offset:], b"ZQPAYCRC" + struct.pack("<II", len(covered), zlib.crc32(covered)))
        return archives

    def test_layout_is_byte_for_byte(self):
        container = self.build("uninst", "tools")
        self.assertEqual(container[:len(self.image)], self.image)
        self.assertEqual(container[len(self.image):IMAGE_SLOT], bytes(IMAGE_SLOT - len(self.image)))
        self.assertEqual(container[IMAGE_SLOT:IMAGE_SLOT + len(self.library)], self.library)
        self.assertEqual(container[IMAGE_SLOT + len(self.library):TABLE_OFFSET],
                         bytes(LIBRARY_SLOT - len(self.library)))
        table = struct.unpack("<100I", container[TABLE_OFFSET:ARCHIVES_OFFSET])
        self.assertTrue(all(size == 0 for size in table[2:]))
        archives = self.split(container)
        self.assertEqual([len(a) for a in archives], list(table[:2]))

    def test_archives_read_back_in_zipfile_and_7z(self):
        archives = self.split(self.build("uninst", "tools"))
        with zipfile.ZipFile(io.BytesIO(archives[1])) as z:
            self.assertIsNone(z.testzip())
            names = z.namelist()
            self.assertIn("tools/ver.ini", names)
            self.assertIn("tools/bin/tief/daten.bin", names)
            self.assertIn("tools/leer/", names)
            self.assertIn("tools/Größe.txt", names)  # code page 850, read as an MS-DOS name
            self.assertTrue(all(n.startswith("tools/") and "\\" not in n for n in names))
            self.assertEqual(z.read("tools/Größe.txt"), "Grüße".encode("cp1252"))
            self.assertEqual(z.getinfo("tools/bin/tief/daten.bin").compress_type, zipfile.ZIP_DEFLATED)
        with zipfile.ZipFile(io.BytesIO(archives[0])) as z:
            self.assertEqual(z.read("uninst/install.ini"), b"[Install]\r\nname=Quotaline\r\n")
        write(self.path("out/archiv1.zip"), archives[1])
        tested = subprocess.run(["7z", "t", self.path("out/archiv1.zip")], capture_output=True)
        self.assertEqual(tested.returncode, 0, tested.stdout)
        self.assertIn(b"Everything is Ok", tested.stdout)
        # 7z prints the names of an MS-DOS host as stored, in code page 850.
        listed = subprocess.run(["7z", "l", "-slt", self.path("out/archiv1.zip")], capture_output=True).stdout
        self.assertIn(b"Path = tools/bin/tief/daten.bin", listed)
        self.assertIn("Path = tools/Größe.txt".encode("cp850"), listed)

    def test_ready_zip_is_taken_as_it_is(self):
        data = io.BytesIO()
        with zipfile.ZipFile(data, "w", zipfile.ZIP_DEFLATED) as z:
            z.writestr("extra/ver.ini", b"[Files]\r\n")
            z.writestr("extra/a/b.txt", b"b" * 1000)
        write(self.path("extra.zip"), data.getvalue())
        archives = self.split(self.build("uninst", "extra.zip"))
        self.assertEqual(archives[1], data.getvalue())

    def test_list_shows_lengths_table_and_members(self):
        self.build("uninst", "tools")
        listed = subprocess.run([ZQPACK, "--list", self.path("setup.exe")], capture_output=True, encoding="utf-8", errors="replace")
        self.assertEqual(listed.returncode, 0, listed.stderr)
        self.assertIn("image    656896 bytes", listed.stdout)
        self.assertIn("library  118272 bytes", listed.stdout)
        self.assertIn("archives 2", listed.stdout)
        self.assertIn("archive 0  ", listed.stdout)
        self.assertIn("  uninst/install.ini  27", listed.stdout)
        self.assertIn("  tools/Größe.txt  5", listed.stdout)
        self.assertRegex(listed.stdout, r"trailer  CRC-32 [0-9a-f]+ over \d+ bytes, matches")
        # One flipped byte in an archive shows.
        with open(self.path("setup.exe"), "r+b") as f:
            f.seek(ARCHIVES_OFFSET + 10)
            byte = f.read(1)
            f.seek(ARCHIVES_OFFSET + 10)
            f.write(bytes([byte[0] ^ 1]))
        damaged = subprocess.run([ZQPACK, "--list", self.path("setup.exe")], capture_output=True, encoding="utf-8",
                                 errors="replace")
        self.assertIn("does not match: the file is damaged", damaged.stdout)
        short = subprocess.run([ZQPACK, "--list", self.path("zqsetup.exe")], capture_output=True, encoding="utf-8", errors="replace")
        self.assertEqual(short.returncode, 3)
        self.assertIn("too short", short.stderr)

    def test_hundred_components_fit_and_more_do_not(self):
        names = ["uninst"]
        for n in range(1, 101):
            write(self.path("c%d/ver.ini" % n), b"v")
            names.append("c%d" % n)
        result = self.run_zqpack(*[self.path(c) for c in names])
        self.assertEqual(result.returncode, 3)
        self.assertIn("101 components given, at most 100", result.stderr)
        self.assertEqual(len(self.split(self.build(*names[:100]))), 100)

    def assert_refused(self, message, *components, image=None, library=None):
        write(self.path("setup.exe"), b"old installer")
        result = self.run_zqpack(*[self.path(c) for c in components], image=image, library=library)
        self.assertEqual(result.returncode, 3, result.stdout)
        self.assertIn(message, result.stderr)
        with open(self.path("setup.exe"), "rb") as f:
            self.assertEqual(f.read(), b"old installer", "an earlier output stays untouched")
        self.assertFalse(os.path.exists(self.path("setup.exe.part")))

    def test_bad_input_is_refused_and_leaves_no_output(self):
        write(self.path("big.exe"), b"MZ" + bytes(IMAGE_SLOT - 1))
        self.assert_refused("longer than its slot of 656896 bytes", "uninst", image=self.path("big.exe"))
        write(self.path("big.dll"), b"MZ" + bytes(LIBRARY_SLOT - 1))
        self.assert_refused("longer than its slot of 118272 bytes", "uninst", library=self.path("big.dll"))
        write(self.path("text.exe"), b"not a program")
        self.assert_refused("not a Windows program", "uninst", image=self.path("text.exe"))
        # A program whose file header says DLL, given as the image, and the image as the library.
        header = b"PE\0\0" + struct.pack("<HHIIIHH", 0x14C, 0, 0, 0, 0, 0xE0, 0x2102)
        write(self.path("library.dll"), b"MZ" + bytes(0x3A) + struct.pack("<I", 0x40) + header + bytes(300))
        self.assert_refused("--image and --library are swapped", "uninst", image=self.path("library.dll"),
                            library=self.path("zqsetup.exe"))
        write(self.path("nover/sub/ver.ini"), b"v")
        self.assert_refused("no ver.ini directly in the component's top folder", "uninst", "nover")
        self.assert_refused("uninst/install.ini: no component holds it", "tools")
        write(self.path("basis/install.ini"), b"[install]\r\nname=Quotaline\r\n")
        write(self.path("basis/ver.ini"), b"[component]\r\nname=basis\r\n")
        self.assert_refused(self.path("basis") + " holds install.ini: the base component's folder must be named uninst",
                            "basis", "tools")
        self.assert_refused("no such folder or ZIP file", "uninst", "fehlt")
        self.assert_refused("cannot be read", "uninst", image=self.path("fehlt.exe"))
        write(self.path("kaputt.zip"), b"PK\x03\x04 kein Archiv")
        self.assert_refused("not a readable ZIP archive: Dieses (SFX-) Archiv ist keine gültige ZIP-Datei",
                            "uninst", "kaputt.zip")
        data = io.BytesIO()
        with zipfile.ZipFile(data, "w") as z:
            z.writestr("a/ver.ini", b"v")
            z.writestr("b/x.txt", b"x")
        write(self.path("two_tops.zip"), data.getvalue())
        self.assert_refused("one top folder, but \"b\\x.txt\" does not; repack the files under a folder named after the "
                            "component, or give zqpack the folder itself", "uninst", "two_tops.zip")
        write(self.path("geheim/ver.ini"), b"v")
        subprocess.run(["7z", "a", "-tzip", "-mem=ZipCrypto", "-pgeheim", self.path("geheim.zip"), "geheim"],
                       cwd=self.dir, check=True, stdout=subprocess.DEVNULL)
        self.assert_refused("the member \"geheim\\ver.ini\" is encrypted, which the installer refuses: pack it "
                            "without a password", "uninst", "geheim.zip")
        write(self.path("bad/ver.ini"), b"v")
        write(self.path("bad/Euro €.txt"), b"x")
        self.assert_refused("cannot be stored in code page 850", "uninst", "bad")

    def test_signed_installer_verifies_and_a_changed_byte_breaks_both_checks(self):
        # osslsigncode signs real PE images only: a small program of the cross compiler.
        compiler = "i686-w64-mingw32-gcc"
        if subprocess.run(["which", compiler, "osslsigncode", "openssl"], capture_output=True).returncode:
            self.skipTest("needs the cross compiler, osslsigncode and openssl")
        source = self.path("tiny.c")
        write(source, b"int main(void) { return 0; }\n")
        subprocess.run([compiler, source, "-o", self.path("tiny.exe")], check=True)
        cert, p12, password = self_signed_certificate(self.dir)
        components = [self.path("uninst"), self.path("tools")]

        def verify(name):
            return subprocess.run(["osslsigncode", "verify", "-CAfile", cert, "-in", self.path(name)],
                                  capture_output=True, encoding="utf-8", errors="replace")

        result = self.run_zqpack("--sign", p12, "--sign-password-file", password, *components,
                                 image=self.path("tiny.exe"))
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertIn("signed", result.stdout)
        self.assertEqual(verify("setup.exe").returncode, 0)
        listing = subprocess.run([ZQPACK, "--list", self.path("setup.exe")], capture_output=True, encoding="utf-8")
        self.assertIn("matches", listing.stdout)
        # One byte of an archive changed: the signature and the trailer both fail.
        with open(self.path("setup.exe"), "rb") as f:
            data = bytearray(f.read())
        data[ARCHIVES_OFFSET + 200] ^= 0x20
        write(self.path("changed.exe"), bytes(data))
        self.assertNotEqual(verify("changed.exe").returncode, 0)
        listing = subprocess.run([ZQPACK, "--list", self.path("changed.exe")], capture_output=True, encoding="utf-8")
        self.assertIn("does not match", listing.stdout)
        # Unsigned without --sign; a wrong password leaves no installer at all.
        self.assertEqual(self.run_zqpack(*components, image=self.path("tiny.exe")).returncode, 0)
        self.assertNotEqual(verify("setup.exe").returncode, 0)
        write(password, b"falsch\n")
        result = self.run_zqpack("--sign", p12, "--sign-password-file", password, *components,
                                 image=self.path("tiny.exe"), output="wrong.exe")
        self.assertEqual(result.returncode, 3)
        self.assertIn("osslsigncode could not sign", result.stderr)
        self.assertFalse(os.path.exists(self.path("wrong.exe")))

    def check(self, *components):
        return subprocess.run([ZQPACK, "check"] + [self.path(c) for c in components], capture_output=True,
                              encoding="utf-8", errors="replace")

    def test_checks_report_mistakes_and_errors_stop_the_build(self):
        viewer = self.path("viewer")
        write(self.path("viewer/app.exe"), b"MZ")
        write(self.path("viewer/ver.ini"), "[component]\r\nname=viewer\r\n[copy]\r\n"
              "%thisDir%app.exe=%installDir%app.exe\r\n%thisDir%Hilfe.chm=%installDir%Hilfe.chm\r\n"
              "[registry]\r\n[regsitry]\r\n".encode("cp1252"))
        result = self.check("uninst", "viewer")
        self.assertEqual(result.returncode, 1)
        self.assertEqual(result.stderr.splitlines(), [
            viewer + "/ver.ini:copy:%thisDir%Hilfe.chm: error: the source \"%thisDir%Hilfe.chm\" is not in the "
            "component folder (line 5)",
            viewer + "/ver.ini:regsitry:: warning: the installer never reads this section (did you mean "
            "\"registry\"?) (line 7)",
            "zqpack: 1 error(s), 1 warning(s)"])
        # A build stops at the error and leaves an earlier installer as it was; --no-check builds.
        write(self.path("setup.exe"), b"old installer")
        result = self.run_zqpack(self.path("uninst"), viewer)
        self.assertEqual(result.returncode, 1)
        self.assertIn("error: the source", result.stderr)
        self.assertIn("setup.exe not written", result.stderr)
        with open(self.path("setup.exe"), "rb") as f:
            self.assertEqual(f.read(), b"old installer")
        self.assertEqual(self.run_zqpack("--no-check", self.path("uninst"), viewer).returncode, 0)
        # Warnings alone are reported and the build goes on.
        write(self.path("viewer/Hilfe.chm"), b"ITSF")
        result = self.run_zqpack(self.path("uninst"), viewer)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertIn("warning: the installer never reads this section", result.stderr)
        # --strict, for a release: a warning stops the check and the build.
        self.assertEqual(subprocess.run([ZQPACK, "check", "--strict", self.path("uninst"), viewer],
                                        capture_output=True).returncode, 1)
        result = self.run_zqpack("--strict", self.path("uninst"), viewer, output="strict.exe")
        self.assertEqual(result.returncode, 1)
        self.assertFalse(os.path.exists(self.path("strict.exe")))
        # A misspelt section whose real one is missing loses its lines: an error.
        write(self.path("viewer/ver.ini"), b"[component]\r\nname=viewer\r\n[cpoy]\r\n%thisDir%app.exe=%installDir%app.exe\r\n")
        result = self.check("uninst", "viewer")
        self.assertEqual(result.returncode, 1)
        self.assertIn("cpoy:: error: the installer never reads this section (did you mean \"copy\"?), and [copy] is "
                      "missing: the lines meant for it are lost (line 3)", result.stderr)
        # A ready ZIP archive is read back: its deflated ver.ini and its members.
        data = io.BytesIO()
        with zipfile.ZipFile(data, "w", zipfile.ZIP_DEFLATED) as z:
            z.writestr("extra/ver.ini", b"[copy]\r\n%thisDir%a.txt=%installDir%a.txt\r\n%thisDir%b.txt=%programsdir%b.txt\r\n")
            z.writestr("extra/a.txt", b"a" * 1000)
        write(self.path("extra.zip"), data.getvalue())
        result = self.check("uninst", "extra.zip")
        self.assertEqual(result.returncode, 1)
        self.assertIn(self.path("extra.zip") + "/ver.ini:copy:%thisDir%b.txt: error: the source", result.stderr)
        self.assertNotIn("a.txt", result.stderr)
        # Clean components: nothing to say.
        result = self.check("uninst", "tools")
        self.assertEqual((result.returncode, result.stderr, result.stdout), (0, "", ""))

    def test_usage_errors(self):
        result = subprocess.run([ZQPACK], capture_output=True, encoding="utf-8")
        self.assertEqual(result.returncode, 2)
        self.assertIn("usage: zqpack", result.stderr)
        # Each mistake is one line naming it, and where the forms are.
        for args, mistake in (
                (["--list"], "--list needs a value"),
                (["check"], "check needs at least one COMPONENT"),
                (["check", "--no-check", "x"], "check takes component folders and --strict only, not --no-check"),
                (["--list", "x", "--no-check"], "--list takes the installer only"),
                (["--list", "x", "--output", "y"], "--list takes the installer only"),
                (["--list", "x", "--sign", "c.p12"], "--list takes the installer only"),
                (["--image", "a", "--library", "b"], "--output is missing"),
                (["--image", "a", "--output", "c", "x"], "--library is missing"),
                (["--image", "a", "--library", "b", "--output", "c"], "no COMPONENT given"),
                (["--bogus"], 'unknown option "--bogus"'),
                (["--sing", "c.p12"], 'unknown option "--sing"; did you mean --sign?'),
                (["--image", "a", "--library", "b", "--output", "c", "--sign", "--timestamp", "t", "x"],
                 "--sign needs a value"),
                (["--image", "a", "--image", "b"], "--image is given twice"),
                (["--image", "a", "--library", "b", "--output", "c", "--timestamp", "http://t", "x"],
                 "--timestamp goes with --sign"),
                (["--image", "a", "--library", "b", "--output", "c", "--strict", "--no-check", "x"],
                 "--strict and --no-check exclude each other"),
                (["new", "--nmae", "Zelo", "a", "b"], 'unknown option "--nmae"; did you mean --name?'),
                (["new", "a", "b"], "new: --name is missing"),
                (["new", "--name", "Zelo", "a"], "new takes FILES_FOLDER and OUTPUT_FOLDER, 1 given")):
            result = subprocess.run([ZQPACK] + args, capture_output=True, encoding="utf-8", errors="replace")
            self.assertEqual(result.returncode, 2, args)
            self.assertEqual(result.stderr, "zqpack: " + mistake + "\nzqpack --help shows the forms\n", args)
        helped = subprocess.run([ZQPACK, "--help"], capture_output=True, encoding="utf-8")
        self.assertEqual(helped.returncode, 0)
        for part in ("usage: zqpack", "A worked example", "-uninstall:", "zqpack's exit codes"):
            self.assertIn(part, helped.stdout)


if __name__ == "__main__":
    unittest.main(verbosity=2)
