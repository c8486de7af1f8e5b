"""Signing as a vendor's build does it: a throwaway code-signing certificate
made with openssl, the build's own signing step, osslsigncode's verification
against that certificate as the trusted root, and the signed installer's
unattended road under Wine."""

import shutil
import subprocess
import tempfile
import unittest
from pathlib import Path

from harness import INSTALLER, installer_command, kill_products, launch, remove_shortcuts, unix_path

SIGN = Path(__file__).resolve().parents[2] / "cmake" / "SignExecutable.cmake"


def run(*args):
    return subprocess.run([*map(str, args)], capture_output=True, text=True)


class Signing(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.dir = Path(tempfile.mkdtemp(prefix="ketrova-signing-"))
        (cls.dir / "password").write_text("senha de teste")
        (cls.dir / "wrong").write_text("outra")
        made = run("openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", "/CN=Ketrova Teste",
                   "-addext", "extendedKeyUsage=codeSigning", "-addext", "keyUsage=digitalSignature",
                   "-keyout", cls.dir / "key.pem", "-out", cls.dir / "cert.pem")
        assert made.returncode == 0, made.stderr
        made = run("openssl", "pkcs12", "-export", "-in", cls.dir / "cert.pem", "-inkey", cls.dir / "key.pem",
                   "-out", cls.dir / "id.p12", "-passout", f"file:{cls.dir / 'password'}")
        assert made.returncode == 0, made.stderr

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.dir, ignore_errors=True)

    def sign(self, pkcs12, password_file):
        shutil.copy(INSTALLER, self.dir / "Instalador.exe")
        return run("cmake", "-DOSSLSIGNCODE=osslsigncode", f"-DPKCS12={pkcs12}", f"-DPASSWORD_FILE={password_file}",
                   f"-DEXECUTABLE={self.dir / 'Instalador.exe'}", f"-DUNSIGNED={self.dir / 'unsigned' / 'Instalador.exe'}",
                   "-P", SIGN)

    def test_the_signed_installer_verifies_and_installs(self):
        signed = self.sign(self.dir / "id.p12", self.dir / "password")
        self.assertEqual(signed.returncode, 0, signed.stderr)
        self.assertEqual((self.dir / "unsigned" / "Instalador.exe").read_bytes(), INSTALLER.read_bytes())
        verified = run("osslsigncode", "verify", "-CAfile", self.dir / "cert.pem", "-in", self.dir / "Instalador.exe")
        self.assertEqual(verified.returncode, 0, verified.stdout + verified.stderr)
        self.assertIn("Signature verification: ok", verified.stdout)
        self.assertIn("Ketrova Teste", verified.stdout)

        folder = "C:\\e2e\\Assinado\\"
        shutil.rmtree(unix_path(folder), ignore_errors=True)
        try:
            self.assertEqual(launch(installer_command(self.dir / "Instalador.exe", folder))[0], 0)
            self.assertTrue(unix_path(folder + "Ketrova.exe").exists())
            kill_products()
            self.assertEqual(launch(f'"{folder}Desinstalar.exe" /quiet')[0], 0)
        finally:
            kill_products()
            remove_shortcuts()

    def test_a_wrong_password_or_a_missing_certificate_fails_with_a_clear_message(self):
        wrong = self.sign(self.dir / "id.p12", self.dir / "wrong")
        said = " ".join(wrong.stderr.split())
        self.assertNotEqual(wrong.returncode, 0)
        self.assertIn(f"the password in {self.dir / 'wrong'} does not open it", said)
        self.assertIn("Wrong password", said)
        self.assertFalse((self.dir / "Instalador.exe").exists(), "no unsigned file where the signed one belongs")
        missing = self.sign(self.dir / "nenhum.p12", self.dir / "password")
        self.assertNotEqual(missing.returncode, 0)
        self.assertIn(f'the certificate file "{self.dir / "nenhum.p12"}" is missing', " ".join(missing.stderr.split()))


if __name__ == "__main__":
    unittest.main()
