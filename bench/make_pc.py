#!/usr/bin/env python3
"""Fills a Wine prefix with what a PC of some years' use holds, reproducibly
from a seed, for the scan benchmark.

    make_pc.py PREFIX FOLDERS_FILE OUT_FOLDER --scale S --seed N

FOLDERS_FILE is what `scan_bench.exe folders` printed in that prefix (the
temporary, Internet cache, profile, Recent and Windows folders as Windows
paths).
At scale 1: 100,000 files in a tree of programs, documents and program data
on C:, 5,000 COM classes, 1,000 App Paths entries, 1,000 font and 1,000 help
values, 1,000 shortcuts, 50,000 temporary and 20,000 Internet cache files
last used months ago, 500 Recent entries. A fifth of the registry references
and of the shortcuts point at files that are gone. Writes into OUT_FOLDER:
machine.reg (to import with the 64-bit regedit), shortcuts.txt (link|target
lines for `scan_bench.exe shortcuts`) and gone.txt (the shortcut targets to
delete once the links exist, as Unix paths).
"""

import argparse
import os
import random
import time

MISSING_SHARE = 0.2
DAY = 86400

VENDORS = ["Northwind", "Contoso", "Fabrikam", "Litware", "Tailspin", "Adatum", "Proseware",
           "Wingtip", "Lucerne", "Margie", "Alpine", "Coho", "Humongous", "Fourth", "Trey",
           "Woodgrove", "Wide World", "Blue Yonder", "Graphic Design", "Southridge"]
PRODUCTS = ["Studio", "Office", "Player", "Viewer", "Sync", "Backup", "Editor", "Suite",
            "Tools", "Manager", "Reader", "Designer", "Browser", "Mail", "Notes", "Photo"]
PARTS = ["bin", "lib", "plugins", "resources", "locales", "themes", "help", "data",
         "modules", "codecs", "fonts", "samples", "templates", "icons", "scripts"]
WORDS = ["report", "budget", "invoice", "letter", "summary", "draft", "notes", "plan",
         "photo", "scan", "agenda", "minutes", "contract", "offer", "review", "list",
         "backup", "export", "chart", "table", "memo", "proposal", "design", "sketch"]
PROGRAM_EXTS = [".dll", ".exe", ".dat", ".pak", ".xml", ".ini", ".png", ".qm", ".bin",
                ".cfg", ".js", ".css", ".ico", ".mui"]
DOCUMENT_EXTS = [".docx", ".xlsx", ".pdf", ".txt", ".jpg", ".png", ".pptx", ".csv", ".zip"]
TEMP_EXTS = [".tmp", ".log", ".dat", ".etl", ".bak", ".old", ".cab", ".msi"]
CACHE_EXTS = ["", ".js", ".css", ".png", ".gif", ".jpg", ".htm", ".json", ".woff"]


def unix_path(prefix, windows_path):
    """C:\\x\\y -> PREFIX/drive_c/x/y (the prefix keeps drive C: there)."""
    drive, rest = windows_path[0].lower(), windows_path[3:]
    return os.path.join(prefix, "drive_" + drive, *[p for p in rest.split("\\") if p])


def reg_text(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


class Machine:
    def __init__(self, prefix, folders, scale, seed):
        self.prefix = prefix
        self.folders = folders
        self.scale = scale
        self.random = random.Random(seed)
        self.now = time.time()
        self.files = 0
        self.reg = ["REGEDIT4", ""]
        self.shortcuts = []
        self.gone = []
        self.program_files = []   # (windows path) of files below Program Files

    def count(self, n):
        return max(1, int(round(n * self.scale)))

    def touch(self, windows_path, size=0, days_unused=None):
        path = unix_path(self.prefix, windows_path)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            if size:
                f.write(bytes(self.random.getrandbits(8) for _ in range(min(size, 64))) *
                        (size // 64 + 1))
                f.truncate(size)
        if days_unused is not None:
            unused = self.now - days_unused * DAY
            os.utime(path, (unused, unused))
        self.files += 1
        return path

    def pick(self, items):
        return self.random.choice(items)

    # --- the file tree ---------------------------------------------------
    def file_tree(self, total):
        programs = int(total * 0.5)
        documents = int(total * 0.3)
        data = total - programs - documents
        root = "C:\\Program Files"
        made = 0
        while made < programs:
            product = "%s\\%s %s %d" % (self.pick(VENDORS), self.pick(PRODUCTS),
                                        self.pick(PRODUCTS), self.random.randint(1, 99))
            for part in self.random.sample(PARTS, self.random.randint(3, 8)):
                for i in range(self.random.randint(5, 60)):
                    if made >= programs:
                        break
                    name = "%s%s_%03d%s" % (self.pick(WORDS), part, i, self.pick(PROGRAM_EXTS))
                    windows_path = "%s\\%s\\%s\\%s" % (root, product, part, name)
                    self.touch(windows_path, self.random.choice([0, 0, 512, 4096]))
                    self.program_files.append(windows_path)
                    made += 1
        profile = self.folders["profile"]
        made = 0
        while made < documents:
            folder = "%s\\Documents\\%s\\%s %d" % (profile, self.pick(WORDS).title(),
                                                   self.pick(WORDS), self.random.randint(2010, 2026))
            for i in range(self.random.randint(5, 80)):
                if made >= documents:
                    break
                self.touch("%s\\%s %d%s" % (folder, self.pick(WORDS), i, self.pick(DOCUMENT_EXTS)),
                           self.random.choice([0, 1024, 8192]))
                made += 1
        made = 0
        while made < data:
            folder = "C:\\ProgramData\\%s\\%s\\%08x" % (self.pick(VENDORS), self.pick(PARTS),
                                                       self.random.getrandbits(32))
            for i in range(self.random.randint(10, 100)):
                if made >= data:
                    break
                self.touch("%s\\%s_%04d.dat" % (folder, self.pick(WORDS), i))
                made += 1

    def existing_or_gone(self, gone_name):
        """A program file that exists, or (a fifth of the time) a path that is gone."""
        if self.random.random() < MISSING_SHARE:
            product = "%s %s" % (self.pick(VENDORS), self.pick(PRODUCTS))
            return "C:\\Program Files\\%s Removed\\%s" % (product, gone_name), True
        return self.pick(self.program_files), False

    # --- the registry ------------------------------------------------------
    def com_classes(self, n):
        for i in range(n):
            clsid = "{%08X-%04X-%04X-%04X-%012X}" % (
                self.random.getrandbits(32), self.random.getrandbits(16),
                self.random.getrandbits(16), self.random.getrandbits(16),
                self.random.getrandbits(48))
            server, _ = self.existing_or_gone("gone_server_%05d.dll" % i)
            base = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\" + clsid
            self.reg += ["[%s]" % base, "@=%s" % reg_text("%s Class %d" % (self.pick(PRODUCTS), i)),
                         "", "[%s\\InProcServer32]" % base, "@=%s" % reg_text(server),
                         '"ThreadingModel"="Apartment"', "",
                         "[%s\\ProgID]" % base,
                         "@=%s" % reg_text("%s.%s.%d" % (self.pick(VENDORS).replace(" ", ""),
                                                          self.pick(PRODUCTS), i)), ""]

    def app_paths(self, n):
        root = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths"
        for i in range(n):
            program, _ = self.existing_or_gone("gone_program_%04d.exe" % i)
            folder = program[:program.rfind("\\") + 1]
            self.reg += ["[%s\\benchapp%04d.exe]" % (root, i), "@=%s" % reg_text(program),
                         '"Path"=%s' % reg_text(folder), ""]

    def fonts(self, n):
        self.reg += ["[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts]"]
        fonts = self.folders["windows"] + "\\Fonts"
        for i in range(n):
            name = "benchfont%04d.ttf" % i
            if self.random.random() >= MISSING_SHARE:
                self.touch("%s\\%s" % (fonts, name), 256)
            self.reg.append('"Bench Font %04d (TrueType)"=%s' % (i, reg_text(name)))
        self.reg.append("")

    def help_files(self, n):
        self.reg += ["[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\Help]"]
        for i in range(n):
            name = "benchhelp%04d.chm" % i
            folder = "C:\\Program Files\\%s Help\\%d" % (self.pick(VENDORS), i % 50)
            if self.random.random() >= MISSING_SHARE:
                self.touch("%s\\%s" % (folder, name), 128)
            self.reg.append('"%s"=%s' % (name, reg_text(folder + "\\")))
        self.reg.append("")

    # --- folders -------------------------------------------------------------
    def shortcut_set(self, n):
        places = [self.folders["profile"] + "\\Desktop",
                  self.folders["profile"] + "\\Start Menu\\Programs",
                  "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs"]
        for i in range(n):
            target = "C:\\Program Files\\Shortcut Targets\\%s\\tool%04d.exe" % (
                self.pick(VENDORS), i)
            self.touch(target, 64)
            link = "%s\\%s\\%s %04d.lnk" % (self.pick(places), self.pick(VENDORS),
                                            self.pick(PRODUCTS), i)
            os.makedirs(os.path.dirname(unix_path(self.prefix, link)), exist_ok=True)
            self.shortcuts.append("%s|%s" % (link, target))
            if self.random.random() < MISSING_SHARE:
                self.gone.append(unix_path(self.prefix, target))

    def unused_files(self, folder, n, extensions, per_folder):
        made = 0
        while made < n:
            sub = "%s\\%s" % (folder, "%08x" % self.random.getrandbits(32))
            for i in range(self.random.randint(1, per_folder)):
                if made >= n:
                    break
                self.touch("%s\\~%s%05d%s" % (sub, self.pick(WORDS), i, self.pick(extensions)),
                           self.random.choice([0, 100, 2000]),
                           days_unused=self.random.randint(2, 400))
                made += 1

    def recent(self, n):
        for i in range(n):
            self.touch("%s\\%s %d.lnk" % (self.folders["recent"], self.pick(WORDS), i),
                       300, days_unused=self.random.randint(2, 200))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("prefix")
    parser.add_argument("folders_file")
    parser.add_argument("out")
    parser.add_argument("--scale", type=float, default=1.0)
    parser.add_argument("--seed", type=int, default=1)
    args = parser.parse_args()

    folders = {}
    with open(args.folders_file, encoding="latin-1") as f:
        for line in f:
            key, _, value = line.rstrip("\r\n").partition("=")
            folders[key] = value.rstrip("\\")
    machine = Machine(args.prefix, folders, args.scale, args.seed)
    n = machine.count
    machine.file_tree(n(100000))
    machine.com_classes(n(5000))
    machine.app_paths(n(1000))
    machine.fonts(n(1000))
    machine.help_files(n(1000))
    machine.shortcut_set(n(1000))
    machine.unused_files(folders["temp"], n(50000), TEMP_EXTS, 40)
    machine.unused_files(folders["cache"], n(20000), CACHE_EXTS, 200)
    machine.recent(n(500))

    os.makedirs(args.out, exist_ok=True)
    with open(os.path.join(args.out, "machine.reg"), "w", encoding="latin-1", newline="\r\n") as f:
        f.write("\n".join(machine.reg) + "\n")
    with open(os.path.join(args.out, "shortcuts.txt"), "w", encoding="latin-1", newline="\r\n") as f:
        f.write("\n".join(machine.shortcuts) + "\n")
    with open(os.path.join(args.out, "gone.txt"), "w") as f:
        f.write("\n".join(machine.gone) + "\n")
    print("made %d files, %d registry lines, %d shortcuts (%d to break)" %
          (machine.files, len(machine.reg), len(machine.shortcuts), len(machine.gone)))


if __name__ == "__main__":
    main()
