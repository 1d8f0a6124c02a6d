"""A self-signed certificate for the tests that sign installers, made with openssl."""
import os
import subprocess


def self_signed_certificate(folder):
    """Writes the certificate, its key, both as PKCS#12 and the PKCS#12 password into
    folder; returns the paths of the certificate, the PKCS#12 file and the password file."""
    cert, key, p12, password = (os.path.join(folder, n) for n in ("cert.pem", "key.pem", "cert.p12", "pass.txt"))
    with open(password, "wb") as f:
        f.write(b"geheim\n")
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-keyout", key, "-out", cert, "-days", "2",
                    "-nodes", "-subj", "/CN=Zelo Test"], check=True, capture_output=True)
    subprocess.run(["openssl", "pkcs12", "-export", "-out", p12, "-inkey", key, "-in", cert,
                    "-passout", "file:" + password], check=True, capture_output=True)
    return cert, p12, password
