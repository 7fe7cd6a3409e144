"""Pellmark.exe, the font install program, on its own: what the viewer relies
on is the exit code 1 for an installed font; the rest is what a permanent
installation means (file in the font folder, value in the font key)."""
import shutil
from pathlib import Path

import pytest

DATA = Path(__file__).resolve().parents[1] / "install" / "data"
FONT_KEY = r"HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion\Fonts"


def font_folder(wine) -> Path:
    return Path(wine.env["WINEPREFIX"]) / "drive_c" / "windows" / "Fonts"


def delete_value(wine, name):
    wine.run("reg", "delete", FONT_KEY, "/v", name, "/f")


@pytest.fixture
def cleanup(wine):
    """Font files and values that a test installed, removed afterwards."""
    made = []
    yield made
    for file_name, value in made:
        (font_folder(wine) / file_name).unlink(missing_ok=True)
        delete_value(wine, value)


def pellmark(wine, *words):
    # Each word is its own argument: the line Wine builds is then unquoted,
    # as the viewer writes it.
    return wine.run(wine.bin / "Pellmark.exe", *words)


def test_installs_a_path_with_spaces(wine, tmp_path, cleanup):
    folder = tmp_path / "My Fonts"
    folder.mkdir()
    shutil.copy(DATA / "GlimraDelta.ttf", folder / "Glimra Delta.ttf")
    cleanup.append(("Glimra Delta.ttf", "Glimra Test Delta (TrueType)"))
    words = wine.winpath(folder / "Glimra Delta.ttf").split(" ")
    r = pellmark(wine, *words)
    assert r.returncode == 1, r.stderr
    installed = font_folder(wine) / "Glimra Delta.ttf"
    assert installed.read_bytes() == (DATA / "GlimraDelta.ttf").read_bytes()
    assert wine.reg_get(FONT_KEY, "Glimra Test Delta (TrueType)") == "Glimra Delta.ttf"
    # Again: the same file is already there, which is fine.
    assert pellmark(wine, *words).returncode == 1


def test_collection_registers_all_its_faces(wine, cleanup):
    cleanup.append(("GlimraPair.ttc", "Glimra Test Beta & Glimra Test Gamma (TrueType)"))
    r = pellmark(wine, wine.winpath(DATA / "GlimraPair.ttc"))
    assert r.returncode == 1, r.stderr
    assert wine.reg_get(FONT_KEY, "Glimra Test Beta & Glimra Test Gamma (TrueType)") == "GlimraPair.ttc"


def test_failures_have_their_own_codes_and_change_nothing(wine, tmp_path):
    assert pellmark(wine).returncode == 2
    r = pellmark(wine, wine.winpath(tmp_path / "missing.ttf"))
    assert r.returncode == 3
    assert b"missing.ttf" in r.stderr

    r = pellmark(wine, wine.winpath(DATA / "NotAFont.ttf"))
    assert r.returncode == 5
    assert not (font_folder(wine) / "NotAFont.ttf").exists()
    assert wine.reg_get(FONT_KEY, "NotAFont (TrueType)") is None


def test_never_overwrites_another_font_of_the_same_name(wine, tmp_path):
    other = font_folder(wine) / "GlimraClash.ttf"
    other.write_bytes(b"another font")
    try:
        shutil.copy(DATA / "GlimraAlpha.ttf", tmp_path / "GlimraClash.ttf")
        r = pellmark(wine, wine.winpath(tmp_path / "GlimraClash.ttf"))
        assert r.returncode == 6
        assert other.read_bytes() == b"another font"
        assert wine.reg_get(FONT_KEY, "Glimra Test Alpha (TrueType)") is None
    finally:
        other.unlink()
