"""End-to-end test support: run our programs under Wine, drive and inspect
their windows through wtool.exe, read and write the prefix's registry, take
screenshots, and serve scripted HTTP answers on loopback."""
