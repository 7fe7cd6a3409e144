"""Lanvik.dll's export table: the six names, undecorated, and nothing else."""
import re
import subprocess


def test_exactly_six_undecorated_exports(wine):
    dll = wine.bin / "Lanvik.dll"
    arch = wine.build / "wine-arch"
    win64 = arch.exists() and arch.read_text().strip() == "win64"
    objdump = "x86_64-w64-mingw32-objdump" if win64 else "i686-w64-mingw32-objdump"
    out = subprocess.run([objdump, "-p", str(dll)], check=True,
                         stdout=subprocess.PIPE, text=True).stdout
    assert re.search(r"^Name\s+\S+\s+Lanvik\.dll$", out, re.M)
    table = out.split("[Ordinal/Name Pointer] Table", 1)[1].split("\n\n", 1)[0]
    names = re.findall(r"\[\s*\d+\]\s+(\S+)", table)
    assert sorted(names) == sorted([
        "LVK_StartA", "LVK_StartW", "LVK_ContinueUpdate",
        "LVK_OpenProgDialog", "LVK_CloseProgDialog", "LVK_Cancel",
    ])
