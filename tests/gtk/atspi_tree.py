"""The accessibility tree of the running programs (AT-SPI), as the dialog and menu readers of
the Linux port tests walk it."""
import pyatspi


def walk(node, depth=0):
    """The node and everything below it, depth first, at most 12 levels down."""
    if node is None or depth > 12:
        return
    yield node
    for child in node:
        yield from walk(child, depth + 1)


def applications():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None:
            yield app


def top_window(title, roles=None):
    """The first top-level window with that title (and one of those roles), or None."""
    for app in applications():
        for window in app:
            if window is not None and window.name == title and \
                    (roles is None or window.getRoleName() in roles):
                return window
    return None
