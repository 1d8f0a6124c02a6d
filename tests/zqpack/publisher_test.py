#!/usr/bin/env python3
"""The publisher's path through zqpack: a product made by `zqpack new` from a
folder of files passes the checks and builds; its package manager manifest
validates against the schemas and names the final, signed file. Programs with
version resources come from the cross compiler and the fixtures' resource
script. Usage: publisher_test.py ZQPACK SCHEMA_FOLDER"""
import glob
import hashlib
import json
import os
import pty
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest

import jsonschema
import yaml

from self_signed import self_signed_certificate

ZQPACK = sys.argv.pop(1)
SCHEMAS = sys.argv.pop(1)
RESOURCE_SCRIPT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "fixtures", "versioned.rc.in")
TOOLS = ("i686-w64-mingw32-gcc", "i686-w64-mingw32-windres", "osslsigncode", "openssl")


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def read(path):
    with open(path, "rb") as f:
        return f.read()


def version_resource(path):
    """The file version and the texts of the program's version resource."""
    data = read(path)
    start = data.index("VS_VERSION_INFO".encode("utf-16-le"))
    fixed = data.index(struct.pack("<I", 0xFEEF04BD), start)
    high, low = struct.unpack("<II", data[fixed + 8:fixed + 16])
    texts = {}
    for key in ("CompanyName", "FileDescription", "ProductName", "ProductVersion", "OriginalFilename"):
        at = data.find(key.encode("utf-16-le") + b"\0\0", start)
        if at < 0:
            continue
        at += 2 * len(key) + 2
        at += at % 4
        texts[key] = data[at:data.index(b"\0\0", at) + 1].decode("utf-16-le").rstrip("\0")
    return "%d.%d.%d.%d" % (high >> 16, high & 0xFFFF, low >> 16, low & 0xFFFF), texts


def zqpack(*args, stderr=subprocess.PIPE):
    return subprocess.run([ZQPACK] + list(args), stdout=subprocess.PIPE, stderr=stderr, encoding="utf-8",
                          errors="replace")


class Publisher(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        if shutil.which(TOOLS[0]) is None or any(shutil.which(tool) is None for tool in TOOLS):
            raise unittest.SkipTest("needs " + ", ".join(TOOLS))
        cls.work = tempfile.TemporaryDirectory()
        cls.program = cls.versioned_program("2.4.6.8")
        cls.image = cls.versioned_program("3.1.4.1")  # stands in for zqsetup.exe: a program with a version

    @classmethod
    def tearDownClass(cls):
        cls.work.cleanup()

    @classmethod
    def versioned_program(cls, version):
        with open(RESOURCE_SCRIPT, encoding="utf-8") as f:
            script = f.read().replace("@FIXTURE_VERSION_COMMAS@", version.replace(".", ",")) \
                .replace("@FIXTURE_VERSION@", version)
        base = os.path.join(cls.work.name, "v" + version)
        write(base + ".rc", script.encode())
        write(base + ".c", b"int main(void) { return 0; }\n")
        subprocess.run(["i686-w64-mingw32-windres", base + ".rc", "-O", "coff", "-o", base + ".res.o"], check=True)
        subprocess.run(["i686-w64-mingw32-gcc", "-s", base + ".c", base + ".res.o", "-o", base + ".exe"], check=True)
        return base + ".exe"

    def setUp(self):
        self.dir = tempfile.mkdtemp(dir=self.work.name)
        self.files = self.path("Dateien")
        os.makedirs(self.files)
        shutil.copy2(self.program, self.path("Dateien/Rechner.exe"))
        shutil.copy2(self.image, self.path("Dateien/zusatz.exe"))
        write(self.path("Dateien/Hilfe/Übersicht.txt"), "Grüße".encode("cp1252"))
        write(self.path("Dateien/daten/tief/werte.bin"), os.urandom(300000))
        os.makedirs(self.path("Dateien/leer"))
        write(self.path("UnzLib.dll"), b"MZ" + os.urandom(5000))

    def path(self, name):
        return os.path.join(self.dir, name)

    def new(self, files, output, *options):
        return zqpack("new", "--name", "Zelo Rechner", *options, files, output)

    def build(self, *args, stderr=subprocess.PIPE):
        return zqpack("--image", self.image, "--library", self.path("UnzLib.dll"), "--output", self.path("setup.exe"),
                      *args, self.path("Produkt/uninst"), self.path("Produkt/program"), stderr=stderr)

    def test_new_product_passes_the_checks_builds_and_refuses_what_it_cannot_carry(self):
        made = self.new(self.files, self.path("Produkt"), "--maker", "Zelo", "--version", "9.9")
        self.assertEqual(made.returncode, 0, made.stderr)
        program = self.path("Produkt/program")
        descriptor = read(program + "/ver.ini").decode("cp1252").splitlines()
        # The first program's version resource wins over --version; nested folders are kept, empty ones left out.
        self.assertIn("version=2.4.6.8", descriptor)
        self.assertIn("exename=Rechner.exe", descriptor)
        copies = descriptor[descriptor.index("[copy]") + 1:]
        self.assertEqual(copies, ["%thisDir%" + name + "=%installDir%program\\" + name for name in
                                  ("Hilfe\\Übersicht.txt", "Rechner.exe", "daten\\tief\\werte.bin", "zusatz.exe")])
        for name in ("Hilfe/Übersicht.txt", "Rechner.exe", "daten/tief/werte.bin", "zusatz.exe"):
            self.assertEqual(read(os.path.join(program, name)), read(os.path.join(self.files, name)))
            self.assertEqual(os.stat(os.path.join(program, name)).st_mtime,
                             os.stat(os.path.join(self.files, name)).st_mtime, name)
        settings = read(self.path("Produkt/uninst/install.ini")).decode("cp1252").splitlines()
        for line in ("name=Zelo Rechner", "RegRoot=Zelo", "Publisher=Zelo", "defaultDir=%programsdir%Zelo Rechner\\",
                     "%menudir%Zelo Rechner\\Rechner=%installDir%program\\Rechner.exe",
                     "%menudir%Zelo Rechner\\zusatz=%installDir%program\\zusatz.exe"):
            self.assertIn(line, settings)
        # The empty record and logs are older than any an installation writes.
        for name in ("uninst.ini", "zqinstall.log", "zquninstall.log"):
            self.assertEqual(read(self.path("Produkt/uninst/" + name)), b"")
            self.assertEqual(os.stat(self.path("Produkt/uninst/" + name)).st_mtime, 946684800)  # 2000-01-01

        checked = zqpack("check", self.path("Produkt/uninst"), program)
        self.assertEqual((checked.returncode, checked.stderr, checked.stdout), (0, "", ""))
        built = self.build()
        self.assertEqual((built.returncode, built.stderr), (0, ""))
        # The installer names the release: the program's version, the product and its maker.
        self.assertEqual(version_resource(self.path("setup.exe")), ("2.4.6.8", {
            "CompanyName": "Zelo", "FileDescription": "Zelo Rechner Setup", "ProductName": "Zelo Rechner",
            "ProductVersion": "2.4.6.8", "OriginalFilename": "setup.exe"}))
        self.assertEqual(version_resource(self.image)[0], "3.1.4.1")  # the image itself stays as it was
        # --version names another; one the installer cannot keep is refused.
        self.assertEqual(self.build("--version", "1.3").returncode, 0)
        self.assertEqual(version_resource(self.path("setup.exe"))[0], "1.3.0.0")
        for wrong in ("1.2.3.4.5", "1.70000", "v1"):
            refused = self.build("--version", wrong)
            self.assertEqual(refused.returncode, 3, wrong)
            self.assertIn("--version: \"%s\" is no version" % wrong, refused.stderr)
        self.assertEqual(self.build().returncode, 0)
        # The same inputs give the same bytes, build after build.
        first = read(self.path("setup.exe"))
        for _ in range(5):
            self.assertEqual(self.build().returncode, 0)
            self.assertEqual(read(self.path("setup.exe")), first)
        listed = zqpack("--list", self.path("setup.exe")).stdout
        self.assertIn("  program/Hilfe/Übersicht.txt  5", listed)
        self.assertIn("  uninst/uninst.ini  0", listed)
        # On a terminal one line shows the progress, rewritten in place.
        terminal, other_end = pty.openpty()
        built = self.build(stderr=other_end)
        os.close(other_end)
        shown = os.read(terminal, 65536).decode()
        os.close(terminal)
        self.assertEqual(built.returncode, 0)
        self.assertRegex(shown, r"^(\rzqpack: [012] of 2 components packed, \d+ bytes)+\r?\n$")
        self.assertIn("2 of 2 components packed, %d bytes" % sum(
            os.path.getsize(f) for f in glob.glob(self.path("Produkt/**/*"), recursive=True) if os.path.isfile(f)),
            shown)

        # Only into an empty or new folder; names the installer cannot carry are refused with their file.
        before = sorted(glob.glob(self.path("Produkt/**"), recursive=True))
        again = self.new(self.files, self.path("Produkt"))
        self.assertEqual(again.returncode, 3)
        self.assertIn("Produkt: not empty", again.stderr)
        self.assertEqual(sorted(glob.glob(self.path("Produkt/**"), recursive=True)), before)
        write(self.path("Dateien/Preise/Preis €.txt"), b"5")
        write(self.path("Geräte/Preise/aux.txt"), b"5")
        for files, options, fault in (
                (self.files, ("--name", "Zelo"), self.path("Dateien/Preise/Preis €.txt") + ": the name \"Preis "
                 "€.txt\" has a character that code page 850 lacks"),
                (self.files, ("--name", "Zelo", "--maker", "Zelo\\Sub"), "--maker: the name \"Zelo\\Sub\" has a \"\\\""),
                (self.files, ("--name", "N" * 64), "--name: the name has 64 characters; the installer keeps only "
                 "the first 63"),
                (self.path("Geräte"), ("--name", "Zelo"), "the member \"Preise\\aux.txt\" is named \"aux.txt\", "
                 "which Windows keeps for a device; the installer cannot write it: rename it")):
            refused = zqpack("new", *options, files, self.path("Neu"))
            self.assertEqual(refused.returncode, 3, options)
            self.assertIn(fault, refused.stderr)
            self.assertFalse(os.path.exists(self.path("Neu")), "nothing is written")

    def test_winget_manifest_validates_and_names_the_signed_file(self):
        self.assertEqual(self.new(self.files, self.path("Produkt"), "--maker", "Zelo").returncode, 0)
        settings = self.path("Produkt/uninst/install.ini")
        settings_text = read(settings).decode("cp1252").replace("UninstTitle=Zelo Rechner", "UninstTitle=Zelo Rechner – 5 €")
        write(settings, settings_text.encode("cp1252"))
        cert, p12, password = self_signed_certificate(self.dir)
        winget = ("--winget", self.path("winget"), "--winget-id", "Zelo.Rechner", "--winget-url",
                  "https://zelo.example/Rechner-Setup.exe", "--winget-license", "Proprietär")
        built = self.build("--sign", p12, "--sign-password-file", password, *winget,
                           "--winget-description", "Rechnet für Zelo")
        self.assertEqual(built.returncode, 0, built.stderr)
        self.assertEqual(subprocess.run(["osslsigncode", "verify", "-CAfile", cert, "-in", self.path("setup.exe")],
                                        capture_output=True).returncode, 0)

        manifests = {}
        for kind, name in (("version", "Zelo.Rechner.yaml"), ("installer", "Zelo.Rechner.installer.yaml"),
                           ("defaultLocale", "Zelo.Rechner.locale.de-DE.yaml")):
            with open(os.path.join(SCHEMAS, "manifest.%s.1.6.0.json" % kind), encoding="utf-8") as f:
                schema = json.load(f)
            text = read(self.path("winget/" + name)).decode("utf-8")
            self.assertEqual(text.splitlines()[0], "# yaml-language-server: $schema=" + schema["$id"])
            manifest = yaml.safe_load(text)
            jsonschema.Draft7Validator.check_schema(schema)
            errors = [e.message for e in jsonschema.Draft7Validator(schema).iter_errors(manifest)]
            self.assertEqual(errors, [], name)
            self.assertEqual((manifest["ManifestType"], manifest["ManifestVersion"]), (kind, "1.6.0"))
            # The release's version, the program's (2.4.6.8), not the image's own (3.1.4.1).
            self.assertEqual((manifest["PackageIdentifier"], manifest["PackageVersion"]), ("Zelo.Rechner", "2.4.6.8"))
            manifests[kind] = manifest
        installer = manifests["installer"]
        self.assertEqual(installer["Installers"][0]["InstallerSha256"].lower(),
                         hashlib.sha256(read(self.path("setup.exe"))).hexdigest())
        self.assertEqual(installer["Installers"][0]["Architecture"], "x86")
        # The uninstall entry as the installer writes it: key, title (Windows-1252 in install.ini), publisher, version.
        self.assertEqual(installer["AppsAndFeaturesEntries"], [{
            "DisplayName": "Zelo Rechner – 5 €", "Publisher": "Zelo", "DisplayVersion": "2.4.6.8",
            "ProductCode": "Zelo Rechner"}])
        self.assertEqual(installer["ProductCode"], "Zelo Rechner")
        self.assertEqual(installer["InstallerSwitches"],
                         {"Silent": "-hide", "SilentWithProgress": "-autorun", "InstallLocation": "-path:\"<INSTALLPATH>\""})
        codes = {code["InstallerReturnCode"]: code["ReturnResponse"] for code in installer["ExpectedReturnCodes"]}
        for code, response in ((1618, "installInProgress"), (1602, "cancelledByUser"), (23, "diskFull"),
                               (3010, "rebootRequiredToFinish")):
            self.assertEqual(codes.get(code), response)
        locale = manifests["defaultLocale"]
        self.assertEqual((locale["Publisher"], locale["PackageName"], locale["License"], locale["ShortDescription"]),
                         ("Zelo", "Zelo Rechner", "Proprietär", "Rechnet für Zelo"))

        # What the manifest cannot do without is refused before anything is written.
        os.remove(self.path("setup.exe"))
        write(settings, settings_text.replace("RegRoot=Zelo\r\nPublisher=Zelo\r\n", "").encode("cp1252"))
        refused = self.build(*winget)
        self.assertEqual(refused.returncode, 3, refused.stderr)
        self.assertIn("install.ini: [install] sets neither Publisher nor RegRoot", refused.stderr)
        self.assertFalse(os.path.exists(self.path("setup.exe")))
        incomplete = self.build(*winget[:-2])
        self.assertEqual(incomplete.returncode, 2)
        self.assertIn("zqpack: --winget needs --winget-license", incomplete.stderr)


if __name__ == "__main__":
    unittest.main(verbosity=2)
