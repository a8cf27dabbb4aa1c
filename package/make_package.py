#!/usr/bin/env python3
"""Builds the release from the program folders the build made: from out/dist the 32-bit
program's setup program ZorvexIde-<version>-setup.exe (NSIS) and ZorvexIde-<version>.zip, from
out/dist64 the 64-bit program's ZorvexIde-<version>-x64-setup.exe and ZorvexIde-<version>-x64.zip,
each pair holding the same files and a README.txt for Windows users. The two install side by
side: each has its own folder, Start-menu entry, entry in the list of installed apps and file
classes, and the IDE keeps its settings beside itself.

Every file in the program folder belongs to the program, except those the IDE itself writes
there at run time (the settings file and the scratch files), which are never packaged.
"""
import argparse
import collections
import fnmatch
import os
import re
import shutil
import subprocess
import sys
import time
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)

# Files the IDE writes while it runs: its settings beside the program, the untitled build
# source and the listing beside the program, the project commands in the current folder, and
# what a forced end of the session keeps of an untitled text, with its note.
RUNTIME_FILES = {"zorvexide.cfg", "_.zobas", "_.txt", "_.bat", "_.exe", "zorvexide.unsaved",
                 "untitled~unsaved.zobas"}
README = "README.txt"
WINDOWS_BAD_CHARS = set('<>:"|?*\\') | {chr(c) for c in range(32)}
# Seconds from 1601-01-01 (Windows file times) to 1970-01-01.
FILETIME_EPOCH = 11644473600


class PackageError(Exception):
    pass


# What tells the two releases apart. id names the default install folder below
# %LOCALAPPDATA%\Programs, the entry in the list of installed apps and the file classes;
# suffix goes after the version in the packages' names and the zip's folder; product is the
# name users see (Start menu, installed apps, the README); target is NSIS's for the setup program.
Edition = collections.namedtuple("Edition", "bits id suffix product target")
EDITIONS = {
    32: Edition(32, "ZorvexIde", "", "Zorvex IDE", "x86-unicode"),
    64: Edition(64, "ZorvexIde-x64", "-x64", "Zorvex IDE (64-bit)", "amd64-unicode"),
}


def package_names(version, edition):
    """The setup program's and the zip's file names."""
    return f"ZorvexIde-{version}{edition.suffix}-setup.exe", f"ZorvexIde-{version}{edition.suffix}.zip"


def zip_folder(version, edition):
    """The one folder the zip holds."""
    return f"ZorvexIde-{version}{edition.suffix}"


def project_version(cmake_lists=os.path.join(ROOT, "CMakeLists.txt")):
    """The x.y.z of project(ZorvexIde VERSION x.y.z): the one place the version is kept."""
    with open(cmake_lists, encoding="utf-8") as f:
        match = re.search(r"project\(\s*ZorvexIde\s+VERSION\s+(\d+\.\d+\.\d+)\b", f.read())
    if not match:
        raise PackageError(f"no project(ZorvexIde VERSION x.y.z) in {cmake_lists}")
    return match.group(1)


def is_runtime_file(relative):
    return os.path.basename(relative).lower() in RUNTIME_FILES


def copy_program(dist, target, without=()):
    """Copies the program folder's own files to target, as a fresh install holds them: the
    files runs of the IDE wrote there are left out, and so is every file or folder whose name
    matches a pattern in without."""
    def ignored(_, names):
        return {n for n in names if is_runtime_file(n) or any(fnmatch.fnmatch(n, p) for p in without)}
    shutil.copytree(dist, target, ignore=ignored)


def check_windows_name(relative):
    """A name the IDE can use on Windows: no reserved characters, no trailing dot or blank,
    and spelt in the ANSI code page the program works in."""
    for part in relative.split("/"):
        if not part or set(part) & WINDOWS_BAD_CHARS or part[-1] in ". ":
            raise PackageError(f"not a usable Windows file name: {relative!r}")
    try:
        relative.encode("cp1252")
    except UnicodeEncodeError:
        raise PackageError(f"file name outside Windows-1252, which the IDE cannot open: {relative!r}")


def program_files(dist):
    """The program folder's files as sorted relative names with "/", runtime files left out."""
    if not os.path.isfile(os.path.join(dist, "ZorvexIde.exe")):
        raise PackageError(f"{dist} holds no ZorvexIde.exe: build the program first")
    names = []
    for folder, dirs, files in os.walk(dist):
        dirs.sort()
        for name in files:
            relative = os.path.relpath(os.path.join(folder, name), dist).replace(os.sep, "/")
            if is_runtime_file(relative):
                continue
            check_windows_name(relative)
            names.append(relative)
    lowered = {}
    for name in names:
        if name.lower() in lowered:  # one file on Windows, two here
            raise PackageError(f"{name!r} and {lowered[name.lower()]!r} differ only in letter case")
        lowered[name.lower()] = name
    if README in names:
        raise PackageError(f"the program folder already holds a {README}")
    return sorted(names)


def readme_bytes(version, edition=EDITIONS[32]):
    """README.txt as Windows users read it: Windows-1252 with CR LF line ends."""
    with open(os.path.join(HERE, README), encoding="utf-8") as f:
        text = f.read().replace("@VERSION@", version).replace("@PRODUCT@", edition.product)
    return text.replace("\r\n", "\n").replace("\n", "\r\n").encode("cp1252")


def stage(dist, names, version, stage_dir, edition=EDITIONS[32]):
    """Copies the files and the README into stage_dir. Their times are cut to even seconds, the
    steps in which the setup program keeps them, so the uninstaller can tell an installed file
    from one the user changed by its time alone."""
    shutil.rmtree(stage_dir, ignore_errors=True)
    for name in names:
        target = os.path.join(stage_dir, *name.split("/"))
        os.makedirs(os.path.dirname(target), exist_ok=True)
        shutil.copyfile(os.path.join(dist, *name.split("/")), target)
        seconds = int(os.stat(os.path.join(dist, *name.split("/"))).st_mtime) & ~1
        os.utime(target, (seconds, seconds))
    with open(os.path.join(stage_dir, README), "wb") as f:
        f.write(readme_bytes(version, edition))
    seconds = int(time.time()) & ~1
    os.utime(os.path.join(stage_dir, README), (seconds, seconds))
    return sorted(names + [README])


def nsis_string(text):
    """text inside an NSIS double-quoted string."""
    return text.replace("$", "$$").replace('"', '$\\"')


def file_time_words(path):
    """The high and low 32-bit words of the file's last-write time as Windows keeps it, each
    as NSIS prints it (a signed decimal)."""
    ticks = (int(os.stat(path).st_mtime) + FILETIME_EPOCH) * 10_000_000

    def signed(word):
        return word - (1 << 32) if word >= (1 << 31) else word
    return signed(ticks >> 32), signed(ticks & 0xFFFFFFFF)


def write_nsis_lists(stage_dir, names, generated):
    """install_files.nsh (folders and File lines) and uninstall_files.nsh (one removal per
    installed file, then the folders deepest first, each only if empty)."""
    os.makedirs(generated, exist_ok=True)
    install = ["; Written by make_package.py from the staged program folder."]
    uninstall = list(install)
    folder = None
    folders = set()
    for name in names:
        parent, _, _ = name.rpartition("/")
        if parent != folder:
            folder = parent
            windows_folder = "$INSTDIR" + ("\\" + nsis_string(parent.replace("/", "\\")) if parent else "")
            install.append(f'SetOutPath "{windows_folder}"')
        install.append(f'File "{nsis_string(os.path.join(stage_dir, *name.split("/")))}"')
        high, low = file_time_words(os.path.join(stage_dir, *name.split("/")))
        uninstall.append(f'!insertmacro RemoveInstalled "{nsis_string(name.replace("/", chr(92)))}" {high} {low}')
        while parent:
            folders.add(parent)
            parent = parent.rpartition("/")[0]
    for parent in sorted(folders, key=lambda p: (-p.count("/"), p)):
        uninstall.append(f'RMDir "$INSTDIR\\{nsis_string(parent.replace("/", chr(92)))}"')
    for file_name, lines in (("install_files.nsh", install), ("uninstall_files.nsh", uninstall)):
        with open(os.path.join(generated, file_name), "w", encoding="utf-8-sig", newline="\n") as f:
            f.write("\n".join(lines) + "\n")


def build_installer(stage_dir, names, version, generated, target, edition=EDITIONS[32]):
    makensis = shutil.which("makensis")
    if not makensis:
        raise PackageError("makensis is missing (Debian package nsis; dev/setup installs it)")
    write_nsis_lists(stage_dir, names, generated)
    size_kb = sum(os.path.getsize(os.path.join(stage_dir, *n.split("/"))) for n in names) // 1024 + 1
    partial = target + ".part"
    # makensis needs a UTF-8 locale: without one it crashes, and it spells file names with it.
    env = dict(os.environ, LC_ALL="C.UTF-8", LANG="C.UTF-8")
    other = EDITIONS[64 if edition.bits == 32 else 32]
    command = [makensis, "-V2", "-WX", "-INPUTCHARSET", "UTF8", f"-DVERSION={version}",
               f"-DTARGET={edition.target}", f"-DAPP_ID={edition.id}", f"-DOTHER_APP_ID={other.id}",
               f"-DPRODUCT={edition.product}",
               f"-DSTAGE={stage_dir}", f"-DGENERATED={generated}", f"-DSIZE_KB={size_kb}",
               f"-DOUTFILE={partial}", os.path.join(HERE, "ZorvexIde.nsi")]
    result = subprocess.run(command, env=env, capture_output=True, text=True, timeout=600)
    if result.returncode != 0 or not os.path.isfile(partial):
        raise PackageError("makensis failed:\n" + (result.stdout + result.stderr)[-4000:])
    os.replace(partial, target)


def build_zip(stage_dir, names, version, target, edition=EDITIONS[32]):
    """The same program folder as a zip, below one folder ZorvexIde-<version> (with -x64 after
    it for the 64-bit program). Names that are not ASCII are stored as UTF-8 and flagged so,
    which Windows' own zip folders read."""
    top = zip_folder(version, edition)
    partial = target + ".part"
    with zipfile.ZipFile(partial, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as archive:
        for name in names:
            path = os.path.join(stage_dir, *name.split("/"))
            info = zipfile.ZipInfo(f"{top}/{name}", time.localtime(os.stat(path).st_mtime)[:6])
            # Made on Unix, so unzip tools take the flagged UTF-8 names as they are (for an
            # MS-DOS maker some read them as OEM text); read-write for all, archive bit set.
            info.create_system = 3
            info.external_attr = (0o100644 << 16) | 0x20
            info.compress_type = zipfile.ZIP_DEFLATED
            with open(path, "rb") as f:
                archive.writestr(info, f.read())
    os.replace(partial, target)


def build_release(dist, release, work, version, edition):
    """Both packages of one edition from its program folder; returns their paths and the
    staged names' count and the program folder's."""
    names = program_files(dist)
    stage_dir = os.path.join(work, "stage", zip_folder(version, edition))
    staged = stage(dist, names, version, stage_dir, edition)
    os.makedirs(release, exist_ok=True)
    setup, archive = (os.path.join(release, name) for name in package_names(version, edition))
    build_installer(stage_dir, staged, version, os.path.join(work, "nsis" + edition.suffix), setup, edition)
    build_zip(stage_dir, staged, version, archive, edition)
    return [setup, archive], len(staged), len(names)


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    out = os.environ.get("ZOR_OUT") or os.path.join(ROOT, "out")
    parser.add_argument("--dist", help="one program folder to package (default: out/dist and out/dist64)")
    parser.add_argument("--bits", type=int, choices=sorted(EDITIONS), default=32,
                        help="the program that --dist holds, or that --copy-to copies (default 32)")
    parser.add_argument("--release", default=os.path.join(out, "release"), help="where the packages go")
    parser.add_argument("--work", default=os.path.join(out, "package"), help="staging folder")
    parser.add_argument("--copy-to", metavar="FOLDER",
                        help="only copy the program's own files into FOLDER (emptied first), as a fresh install")
    args = parser.parse_args(argv)
    dists = {bits: os.path.join(out, "dist64" if bits == 64 else "dist") for bits in EDITIONS}
    if args.dist:
        dists = {args.bits: args.dist}
    if args.copy_to:
        shutil.rmtree(args.copy_to, ignore_errors=True)
        try:
            copy_program(dists[args.bits], args.copy_to)
        except OSError as error:
            print(f"package: {error}", file=sys.stderr)
            return 1
        return 0
    try:
        version = project_version()
        for bits, dist in dists.items():
            started = time.monotonic()
            paths, staged, names = build_release(dist, args.release, args.work, version, EDITIONS[bits])
            for path in paths:
                print(f"{path}  ({os.path.getsize(path) // 1024} KB)")
            print(f"{staged} files ({names} from {dist} and {README}) in {time.monotonic() - started:.1f} s")
    except (PackageError, OSError, subprocess.TimeoutExpired) as error:
        print(f"package: {error}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
