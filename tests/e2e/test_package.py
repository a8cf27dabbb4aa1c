"""The release as a Windows user gets it: the zip and the setup program hold exactly the program
folder the build makes, and nothing the IDE writes at run time; the setup program installs
silently into a fresh Wine prefix, the installed IDE opens a source by its file association,
and the uninstaller leaves only the user's own files. The 32-bit run tests the 32-bit release,
the 64-bit run the 64-bit one, and there both releases side by side."""
import os
import shutil
import struct
import subprocess
import sys
import unittest
import zipfile

from ide import (BITS, DIST, E2E, NO_32_BIT, OUT, ROOT, RUNS_32BIT, WINE, Ide, read, wait_for, windows_named, wine_env,
                 write, xdotool)

sys.path.insert(0, os.path.join(ROOT, "package"))
from make_package import EDITIONS, RUNTIME_FILES, package_names, program_files, project_version, zip_folder  # noqa: E402

VERSION = project_version()
EDITION = EDITIONS[BITS]
RELEASE = os.path.join(OUT, "release")
SETUP, ZIP = (os.path.join(RELEASE, name) for name in package_names(VERSION, EDITION))
CLASSES = r"HKCU\Software\Classes"
UNINSTALL = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall"
UNINSTALL_KEY = UNINSTALL + "\\" + EDITION.id
PROGRAM_TEXT = b'print "hello from the installed IDE"\r\n'


def program_folder_files(folder):
    """Relative names ("/"-separated) of every file below folder, as a set."""
    names = set()
    for parent, _, files in os.walk(folder):
        for name in files:
            names.add(os.path.relpath(os.path.join(parent, name), folder).replace(os.sep, "/"))
    return names


def dist_files(dist=DIST):
    """What the build put into the program folder, less what the IDE itself writes there."""
    return set(program_files(dist))


class Packages(unittest.TestCase):
    def test_zip_holds_the_program_folder_and_a_windows_readme(self):
        top = zip_folder(VERSION, EDITION) + "/"
        with zipfile.ZipFile(ZIP) as archive:
            entries = {info.filename: info for info in archive.infolist()}
            self.assertEqual(set(entries), {top + n for n in dist_files() | {"README.txt"}})
            for name in dist_files():
                self.assertEqual(archive.read(top + name), read(os.path.join(DIST, name)), name)
            for name, info in entries.items():
                if not name.isascii():  # "bänke.bmp": stored as UTF-8 and flagged so
                    self.assertTrue(info.flag_bits & 0x800, name)
            readme = archive.read(top + "README.txt")
        text = readme.decode("cp1252")
        self.assertEqual(text.count("\n"), text.count("\r\n"))
        for needed in (f"{EDITION.product} {VERSION}", "Enter text to start..", "ZorvexIde-<version>-x64-setup.exe", "start Zorvex:", "zorvexIde.cfg",
                       "ctrl SHIFT F5   Compile 64BIT BINARY", "^END            GOTO bottom"):
            self.assertIn(needed, text)

    def test_files_the_ide_writes_at_run_time_are_never_packaged(self):
        used = os.path.join(E2E, "package-used-dist")
        shutil.rmtree(used, ignore_errors=True)
        shutil.copytree(DIST, used)
        for name in sorted(RUNTIME_FILES) + ["zorvexIde.cfg", "ZORVEXIDE.CFG", "lib/_.bat"]:
            with open(os.path.join(used, name), "wb") as f:
                f.write(b"written by a run\r\n")
        work = os.path.join(E2E, "package-used")
        result = subprocess.run([sys.executable, os.path.join(ROOT, "package", "make_package.py"), "--dist", used,
                                 "--bits", str(BITS), "--release", work, "--work", work],
                                capture_output=True, text=True, timeout=300)
        self.assertEqual(result.returncode, 0, result.stderr)
        with zipfile.ZipFile(os.path.join(work, package_names(VERSION, EDITION)[1])) as archive:
            names = {n.split("/", 1)[1] for n in archive.namelist()}
        self.assertEqual(names, dist_files() | {"README.txt"})
        with open(os.path.join(work, "nsis" + EDITION.suffix, "install_files.nsh"), encoding="utf-8-sig") as f:
            installed = [line.rstrip('"\n').rsplit("/", 1)[1] for line in f if line.startswith("File ")]
        self.assertEqual(len(installed), len(names))
        self.assertFalse({name.lower() for name in installed} & {name.lower() for name in RUNTIME_FILES})


class InstalledRelease(unittest.TestCase):
    """Installs into a Wine prefix of its own, made fresh once per run under out/."""

    @classmethod
    def setUpClass(cls):
        cls.prefix = os.path.join(E2E, "package-prefix")
        cls.env = wine_env(cls.prefix)
        subprocess.run(["wineserver", "-k"], env=cls.env, stderr=subprocess.DEVNULL)
        shutil.rmtree(cls.prefix, ignore_errors=True)
        os.makedirs(cls.prefix)
        for command in ([WINE, "wineboot", "-i"],
                        [WINE, "reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", "Managed", "/d", "N", "/f"],
                        ["wineserver", "-w"]):
            subprocess.run(command, env=cls.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                           check=True, timeout=300)

    @classmethod
    def tearDownClass(cls):
        subprocess.run(["wineserver", "-k"], env=cls.env, stderr=subprocess.DEVNULL)

    def tearDown(self):
        if getattr(self, "ide", None):
            self.ide.kill()

    def wine(self, *args, timeout=120):
        return subprocess.run([WINE, *args], env=self.env, capture_output=True, text=True, timeout=timeout)

    def settle(self):
        """Waits until every program in the prefix has ended (an uninstaller runs on as a copy)."""
        subprocess.run(["wineserver", "-w"], env=self.env, timeout=120)

    def reg_value(self, key, name=None):
        """A registry value's text; None when the key or the value is missing."""
        result = self.wine("reg", "query", key, *(["/v", name] if name else ["/ve"]))
        if result.returncode != 0:
            return None
        for line in result.stdout.splitlines():
            parts = line.strip().split(None, 2)
            if len(parts) >= 2 and parts[0] == (name or "(Default)") and parts[1].startswith("REG_"):
                return parts[2] if len(parts) == 3 else ""
        return None

    def install(self, folder=None, setup=SETUP):
        """Runs the setup program silently into the Windows folder (its default without one)."""
        # /D= must come last and unquoted, so a folder with blanks goes as the words it has.
        result = self.wine(setup, "/S", *(("/D=" + folder).split(" ") if folder else ()))
        self.assertEqual(result.returncode, 0, result.stderr[-2000:])
        self.settle()

    def install_and_associate(self, folder):
        """Installs into the Windows folder and lets the shell see the file classes; returns
        the folder's Unix path."""
        self.install(folder)
        # Windows merges the per-user classes into HKEY_CLASSES_ROOT, where the shell looks up
        # an association; Wine 8 does not, so the test shows it the keys as Windows would.
        for key in (".zobas", ".zoproj", f"{EDITION.id}.zobas", f"{EDITION.id}.zoproj"):
            self.assertEqual(self.wine("reg", "copy", rf"{CLASSES}\{key}", rf"HKCR\{key}", "/s", "/f").returncode, 0)
        return self.unix_path(folder)

    def unix_path(self, folder):
        return os.path.join(self.prefix, "drive_c", *folder[3:].split("\\"))

    def uninstall(self, folder):
        result = self.wine(folder + "\\Uninstall.exe", "/S")
        self.assertEqual(result.returncode, 0, result.stderr[-2000:])
        self.settle()

    def shortcut_paths(self, product):
        """Where the user's Start-menu entry named product is, for each user of the prefix."""
        users = os.path.join(self.prefix, "drive_c", "users")
        return [os.path.join(users, user, "AppData", "Roaming", "Microsoft", "Windows", "Start Menu", "Programs",
                             product + ".lnk") for user in os.listdir(users)]

    def open_by_association(self, installed, folder, name):
        """Writes the user's source into the installed folder and opens it as a double-click
        would, from another current directory; waits for the main window."""
        with open(os.path.join(installed, name), "wb") as f:
            f.write(PROGRAM_TEXT)
        elsewhere = os.path.join(E2E, "package-elsewhere")
        os.makedirs(elsewhere, exist_ok=True)
        self.ide = Ide(installed, prefix=self.prefix, cwd=elsewhere, peek_dir=elsewhere,
                       command=[WINE, "start", "/wait", folder + "\\" + name])
        self.ide.answer_greeting()
        return self.ide.main_window()

    def test_silent_install_open_by_association_close_and_uninstall(self):
        folder = r"C:\Zorvex Test\IDE"
        installed = self.install_and_associate(folder)

        # Exactly the program folder, the README and the uninstaller.
        self.assertEqual(program_folder_files(installed), dist_files() | {"README.txt", "Uninstall.exe"})
        for name in dist_files():
            self.assertEqual(read(os.path.join(installed, name)), read(os.path.join(DIST, name)), name)
        command = f'"{folder}\\ZorvexIde.exe" "%1"'
        self.assertEqual(self.reg_value(rf"{CLASSES}\.zobas"), f"{EDITION.id}.zobas")
        self.assertEqual(self.reg_value(rf"{CLASSES}\.zoproj"), f"{EDITION.id}.zoproj")
        self.assertEqual(self.reg_value(rf"{CLASSES}\{EDITION.id}.zobas\shell\open\command"), command)
        self.assertEqual(self.reg_value(rf"{CLASSES}\{EDITION.id}.zoproj\shell\open\command"), command)
        self.assertEqual(self.reg_value(UNINSTALL_KEY, "DisplayVersion"), VERSION)
        self.assertEqual(self.reg_value(UNINSTALL_KEY, "UninstallString"), f'"{folder}\\Uninstall.exe"')
        shortcuts = self.shortcut_paths(EDITION.product)
        shortcut = [path for path in shortcuts if os.path.exists(path)]
        self.assertEqual(len(shortcut), 1, shortcuts)
        link = read(shortcut[0])
        # The Start-menu entry starts the IDE in its folder: a working directory is set, and it is the folder.
        self.assertTrue(struct.unpack_from("<I", link, 20)[0] & 0x10)
        # (Its length counts the closing NUL in Wine's shortcuts, not in Windows'.)
        self.assertTrue(any(struct.pack("<H", n) + folder.encode("utf-16-le") + b"\0\0" in link
                            for n in (len(folder), len(folder) + 1)), link)

        # Double-clicking the user's source starts the installed IDE with it, in another
        # current directory: it still finds its editing component and icon.
        window = self.open_by_association(installed, folder, "mine.zobas")
        console = self.ide.console_text()
        self.assertNotIn("Unable to load Scintilla", console)
        # The About box names the release. Ctrl is held until the box shows: the IDE reads it
        # when it takes the F1 key.
        self.ide.focus(window)
        xdotool("keydown", "ctrl")
        try:
            self.ide.keys(window, "F1")
            box = self.ide.main_window("ZorvexIde")
        finally:
            xdotool("keyup", "ctrl")
        about = wait_for(lambda: self.ide.window_texts("ZorvexIde"), 30, "the About text")
        self.assertTrue(any(f"Version {VERSION}" in line for line in about), about)
        self.ide.keys(box, "Return")
        wait_for(lambda: not windows_named("ZorvexIde"), 30, "the About box to close")
        self.ide.close_main_window(window)
        self.assertEqual(self.ide.wait_exit(), 0)
        self.settle()
        self.assertIn(f"$file [{folder}\\mine.zobas]", read(os.path.join(installed, "zorvexIde.cfg")).decode("cp1252"))

        # The user's notes in the README are theirs now.
        with open(os.path.join(installed, "README.txt"), "ab") as f:
            f.write(b"my notes\r\n")
        self.uninstall(folder)
        self.assertEqual(program_folder_files(installed), {"mine.zobas", "zorvexIde.cfg", "README.txt"})
        self.assertEqual(read(os.path.join(installed, "mine.zobas")), PROGRAM_TEXT)
        for key in (rf"{CLASSES}\.zobas", rf"{CLASSES}\.zoproj", rf"{CLASSES}\{EDITION.id}.zobas",
                    rf"{CLASSES}\{EDITION.id}.zoproj", UNINSTALL_KEY):
            self.assertEqual(self.wine("reg", "query", key).returncode, 1, key)
        self.assertFalse(os.path.exists(shortcut[0]))

    @unittest.skipUnless(os.path.isfile(os.path.join(DIST, "zor5.exe")) and os.path.isdir(os.path.join(DIST, "samples")),
                         "needs the compile tool zor5.exe and samples/ in the program folder")
    def test_f5_in_the_installed_ide_prints_the_programs_output(self):
        folder = r"C:\Zorvex F5"
        installed = self.install_and_associate(folder)
        window = self.open_by_association(installed, folder, "hello.zobas")
        self.ide.keys(window, "F5")
        wait_for(lambda: "hello from the installed IDE" in self.ide.console_text(), 60, "the program's output")
        self.ide.close_main_window(window)
        self.assertEqual(self.ide.wait_exit(), 0)
        self.uninstall(folder)  # the prefix's next test starts with no installation

    @unittest.skipUnless(BITS == 64, "the 64-bit run installs both releases")
    def test_side_by_side_the_32_and_64_bit_releases_keep_their_own_files_settings_and_classes(self):
        if not RUNS_32BIT:
            self.skipTest(NO_32_BIT)  # the 32-bit setup program is a 32-bit program
        ours, theirs = EDITION, EDITIONS[32]
        local = self.wine("cmd", "/c", "echo %LOCALAPPDATA%").stdout.strip()
        folders = {e.id: local + "\\Programs\\" + e.id for e in (theirs, ours)}
        dists = {ours.id: DIST, theirs.id: os.path.join(OUT, "dist")}
        # The 32-bit release first, then this one over it, each into its default folder.
        self.install(setup=os.path.join(RELEASE, package_names(VERSION, theirs)[0]))
        self.install()
        for edition in (theirs, ours):
            installed = self.unix_path(folders[edition.id])
            self.assertEqual(program_folder_files(installed), dist_files(dists[edition.id]) | {"README.txt", "Uninstall.exe"})
            self.assertEqual(self.reg_value(rf"{UNINSTALL}\{edition.id}", "InstallLocation"), folders[edition.id])
            self.assertEqual(self.reg_value(rf"{UNINSTALL}\{edition.id}", "DisplayName"), edition.product)
            self.assertEqual(self.reg_value(rf"{CLASSES}\{edition.id}.zobas\shell\open\command"),
                             f'"{folders[edition.id]}\\ZorvexIde.exe" "%1"')
            self.assertTrue(any(os.path.exists(p) for p in self.shortcut_paths(edition.product)), edition.product)
            write(os.path.join(installed, "zorvexIde.cfg"), f"$font [{edition.id}]\r\n".encode())
        self.assertEqual(self.reg_value(rf"{CLASSES}\.zobas"), f"{ours.id}.zobas")  # the last one installed

        # Removing this release leaves the other whole, and gives the sources back to it.
        self.uninstall(folders[ours.id])
        self.assertEqual(program_folder_files(self.unix_path(folders[ours.id])), {"zorvexIde.cfg"})
        other = self.unix_path(folders[theirs.id])
        self.assertEqual(program_folder_files(other),
                         dist_files(dists[theirs.id]) | {"README.txt", "Uninstall.exe", "zorvexIde.cfg"})
        self.assertEqual(read(os.path.join(other, "zorvexIde.cfg")), f"$font [{theirs.id}]\r\n".encode())
        self.assertEqual(self.reg_value(rf"{CLASSES}\.zobas"), f"{theirs.id}.zobas")
        self.assertEqual(self.reg_value(rf"{UNINSTALL}\{theirs.id}", "InstallLocation"), folders[theirs.id])
        self.assertEqual(self.wine("reg", "query", rf"{UNINSTALL}\{ours.id}").returncode, 1)
        self.uninstall(folders[theirs.id])
        for key in (rf"{CLASSES}\.zobas", rf"{CLASSES}\.zoproj", rf"{CLASSES}\{theirs.id}.zobas"):
            self.assertEqual(self.wine("reg", "query", key).returncode, 1, key)


if __name__ == "__main__":
    unittest.main()
