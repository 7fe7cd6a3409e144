"""Glimra.exe as the end-to-end tests drive it: started with chosen
settings and working folder, its frame and view found once the first paint
has built the list, commands, the view's state query, closing."""
from harness.wine import wait_until

SETTINGS = r"HKCU\Software\VANTO\Glimra\Settings"

# The view's state query for automation (another process cannot read its
# scroll bar under Wine). The answer is -1 before the first paint.
WM_GLIMRA_QUERY = 0x8050
(QUERY_TOP_ROW, QUERY_SELECTED_ROW, QUERY_ROW_COUNT, QUERY_VISIBLE_ROWS, QUERY_DIVIDER, QUERY_FONT_SIZE,
 QUERY_UPDATE_STATE) = range(7)


class Glimra:
    """One running Glimra.exe."""

    def __init__(self, wine, program=None, cwd=None, **settings):
        self.wine = wine
        for name, value in settings.items():
            wine.reg_set(SETTINGS, name, value)
        self.proc = wine.launch(program or wine.bin / "Glimra.exe", cwd=cwd)
        # Its own frame: a window left by another instance is not ours to drive.
        self.frame = wine.wait_window("FwFrame128", "Glimra", timeout=60, pid=self.proc.pid)
        self.view = None
        wait_until(self._painted, timeout=60, interval=0.3)

    def _painted(self):
        for c in self.wine.children(self.frame.hwnd):
            if c.cls == "FwView" and self.wine.send(c.hwnd, WM_GLIMRA_QUERY, QUERY_ROW_COUNT) >= 0:
                self.view = c
                return True
        return False

    def query(self, what, param=0):
        return self.wine.send(self.view.hwnd, WM_GLIMRA_QUERY, what, param)

    def command(self, cmd_id):
        self.wine.command(self.frame.hwnd, cmd_id)

    def close(self):
        """Closes the main window; returns the exit code."""
        self.wine.close(self.frame.hwnd)
        return self.wine.wait_exit(self.proc, timeout=30)
