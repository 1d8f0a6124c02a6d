#!/usr/bin/env python3
"""Writes the installation benchmark's payload, the same every time.

  make_install_payload.py FOLDER MEGABYTES [FILES]

FOLDER/components/uninst and FOLDER/components/files are the components for
zqpack (the files in nested folders, a [copy] line each); FOLDER/bench.nsi is
an NSIS script that installs the same files. A third of the bytes each is
text-like, binary-like (structured, partly compressible) and already
compressed (random). 1,000 files for 50 MB; the count grows with the size
unless FILES gives it.
"""
import os
import random
import sys

WORDS = ("Quote Linie Betrag Konto Summe Datum Kunde Rechnung Position Menge Preis Steuer "
         "Zahlung Auftrag Lager Artikel Beschreibung Einheit Rabatt Gesamt").split()


def text_bytes(rng, size):
    out = []
    length = 0
    while length < size:
        line = " ".join(rng.choice(WORDS) for _ in range(rng.randint(4, 12))) + f" {rng.randint(0, 99999)}\r\n"
        out.append(line)
        length += len(line)
    return "".join(out).encode()[:size]


def binary_bytes(rng, size):
    record = bytearray()
    while len(record) < size:
        record += rng.randint(0, 4000).to_bytes(4, "little") + bytes(12) + rng.randbytes(4)
    return bytes(record[:size])


def main():
    folder, megabytes = sys.argv[1], int(sys.argv[2])
    rng = random.Random(20261208)
    total = megabytes * 1024 * 1024
    count = int(sys.argv[3]) if len(sys.argv) > 3 else max(1000, 1000 * megabytes // 50)
    files = os.path.join(folder, "components", "files")
    uninst = os.path.join(folder, "components", "uninst")
    os.makedirs(uninst, exist_ok=True)
    copies = []
    makers = (text_bytes, binary_bytes, lambda r, n: r.randbytes(n))
    for n in range(count):
        relative = os.path.join(f"teil{n % 10}", f"gruppe{n % 7}", f"datei{n}.{('txt', 'dat', 'bin')[n % 3]}")
        size = max(1, int(rng.expovariate(count / total)))
        path = os.path.join(files, relative)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as out:
            out.write(makers[n % 3](rng, size))
        windows = relative.replace("/", "\\")
        copies.append(f"%thisDir%{windows}=%installDir%{windows}")
    with open(os.path.join(files, "ver.ini"), "w", newline="\r\n") as out:
        out.write("[component]\nname=files\n[copy]\n" + "\n".join(copies) + "\n")
    with open(os.path.join(uninst, "install.ini"), "w", newline="\r\n") as out:
        out.write("[install]\nname=ZqBench\nRegRoot=ZqBench\ndefaultDir=C:\\bench\\zq\\\n[base]\nname=files\n")
    with open(os.path.join(uninst, "ver.ini"), "w", newline="\r\n") as out:
        out.write("[component]\nname=uninst\n[copy]\n%thisDir%install.ini=%installDir%uninst\\install.ini\n")
    with open(os.path.join(folder, "bench.nsi"), "w", newline="\n") as out:
        out.write('Name "ZqBench"\nOutFile "nsis-setup.exe"\nInstallDir "C:\\bench\\nsis"\n'
                  'RequestExecutionLevel admin\nSilentInstall silent\nSection\n  SetOutPath "$INSTDIR"\n'
                  '  File /r "components/files/teil*"\nSectionEnd\n')


if __name__ == "__main__":
    main()
