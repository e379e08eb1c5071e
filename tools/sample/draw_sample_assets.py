#!/usr/bin/env python3
"""Draws the skin of the sample deployment and writes its configuration.

Writes into the given folder (the package's config/ folder):
  main1.png          launcher background: a translucent rounded panel with a
                     soft shadow, a title band, a frame for the web area and a
                     column for the link buttons
  %d_n.png, %d_d.png normal and pressed faces of the launcher's button links
  style.png          game window sprite sheet: title-bar button pictures (three
                     stacked faces each: normal, pressed, hover) and the eight
                     frame pieces
  logo.png           the title-bar logo
  cg.txt             the configuration (GBK, CR LF), generated from the same
                     tables as the pictures so their rectangles always agree

Only the standard library is used; the output is byte-for-byte reproducible.

    python3 tools/sample/draw_sample_assets.py sample/package/config
"""

import math
import os
import struct
import sys
import zlib

# ---------------------------------------------------------------------------
# PNG encoder (8-bit RGBA, colour type 6, and RGB, colour type 2)


def _png_chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def _filter_rows(rows, bpp):
    """Adaptive filtering: each row takes the filter with the smallest sum of
    absolute signed residuals, the usual heuristic."""
    out = bytearray()
    prev = bytes(len(rows[0])) if rows else b""
    for row in rows:
        n = len(row)
        cands = [(0, bytes(row))]
        sub = bytes((row[i] - (row[i - bpp] if i >= bpp else 0)) & 0xFF for i in range(n))
        up = bytes((row[i] - prev[i]) & 0xFF for i in range(n))
        avg = bytes((row[i] - (((row[i - bpp] if i >= bpp else 0) + prev[i]) >> 1)) & 0xFF
                    for i in range(n))
        paeth = bytes((row[i] - _paeth(row[i - bpp] if i >= bpp else 0, prev[i],
                                       prev[i - bpp] if i >= bpp else 0)) & 0xFF
                      for i in range(n))
        cands += [(1, sub), (2, up), (3, avg), (4, paeth)]
        kind, data = min(cands, key=lambda c: sum(v if v < 128 else 256 - v for v in c[1]))
        out.append(kind)
        out += data
        prev = row
    return bytes(out)


def encode_png(width, height, rows, alpha):
    """rows: one bytes object per scanline, 4 (alpha) or 3 bytes a pixel."""
    bpp = 4 if alpha else 3
    assert len(rows) == height and all(len(r) == width * bpp for r in rows)
    ihdr = struct.pack(">IIBBBBB", width, height, 8, 6 if alpha else 2, 0, 0, 0)
    idat = zlib.compress(_filter_rows(rows, bpp), 9)
    return (b"\x89PNG\r\n\x1a\n" + _png_chunk(b"IHDR", ihdr) + _png_chunk(b"IDAT", idat)
            + _png_chunk(b"IEND", b""))


# ---------------------------------------------------------------------------
# A small anti-aliased rasteriser: shapes are signed distance functions
# (negative inside, in pixels), coverage is taken at pixel centres.


def clamp01(v):
    return 0.0 if v < 0.0 else 1.0 if v > 1.0 else v


def smoothstep(e0, e1, v):
    t = clamp01((v - e0) / (e1 - e0))
    return t * t * (3 - 2 * t)


def mix(c0, c1, t):
    return tuple(a + (b - a) * t for a, b in zip(c0, c1))


def hexc(text):
    text = text.lstrip("#")
    return tuple(int(text[i:i + 2], 16) / 255.0 for i in (0, 2, 4))


def rrect(x0, y0, x1, y1, r):
    cx, cy, hx, hy = (x0 + x1) / 2, (y0 + y1) / 2, (x1 - x0) / 2 - r, (y1 - y0) / 2 - r

    def sdf(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        return math.hypot(max(qx, 0.0), max(qy, 0.0)) + min(max(qx, qy), 0.0) - r
    return sdf


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def segment(ax, ay, bx, by, width):
    dx, dy = bx - ax, by - ay
    ll = dx * dx + dy * dy
    half = width / 2

    def sdf(x, y):
        t = clamp01(((x - ax) * dx + (y - ay) * dy) / ll) if ll else 0.0
        return math.hypot(x - ax - t * dx, y - ay - t * dy) - half
    return sdf


def polyline(points, width, closed=False):
    pts = list(points) + ([points[0]] if closed else [])
    segs = [segment(*pts[i], *pts[i + 1], width) for i in range(len(pts) - 1)]
    return lambda x, y: min(s(x, y) for s in segs)


def convex(points):
    """Convex polygon given clockwise on screen (y down)."""
    edges = []
    for i, (ax, ay) in enumerate(points):
        bx, by = points[(i + 1) % len(points)]
        ln = math.hypot(bx - ax, by - ay)
        edges.append((ax, ay, (by - ay) / ln, -(bx - ax) / ln))
    return lambda x, y: max((x - ax) * nx + (y - ay) * ny for ax, ay, nx, ny in edges)


def union(*fs):
    return lambda x, y: min(f(x, y) for f in fs)


def intersect(*fs):
    return lambda x, y: max(f(x, y) for f in fs)


def subtract(a, b):
    return lambda x, y: max(a(x, y), -b(x, y))


def ring(f, width):
    """The outline of a shape, `width` pixels wide, just inside its edge."""
    return lambda x, y: abs(f(x, y) + width / 2) - width / 2


def shifted(f, dx, dy):
    return lambda x, y: f(x - dx, y - dy)


def vgrad(y0, y1, c0, c1, alpha=1.0):
    return lambda x, y: mix(c0, c1, clamp01((y - y0) / (y1 - y0))) + (alpha,)


def flat(c, alpha=1.0):
    c = tuple(c) + (alpha,)
    return lambda x, y: c


class Canvas:
    def __init__(self, width, height, fill=(0.0, 0.0, 0.0, 0.0)):
        self.w, self.h = width, height
        self.px = list(fill) * (width * height)

    def over(self, x, y, r, g, b, a):
        if a <= 0.0:
            return
        i = (y * self.w + x) * 4
        p = self.px
        da = p[i + 3] * (1.0 - a)
        oa = a + da
        p[i] = (r * a + p[i] * da) / oa
        p[i + 1] = (g * a + p[i + 1] * da) / oa
        p[i + 2] = (b * a + p[i + 2] * da) / oa
        p[i + 3] = oa

    def _box(self, box):
        x0, y0, x1, y1 = box if box else (0, 0, self.w, self.h)
        return (max(0, int(math.floor(x0))), max(0, int(math.floor(y0))),
                min(self.w, int(math.ceil(x1))), min(self.h, int(math.ceil(y1))))

    def fill(self, sdf, shade, box=None):
        """Paints `shade` (x, y -> r, g, b, a) where `sdf` covers the pixel."""
        x0, y0, x1, y1 = self._box(box)
        for y in range(y0, y1):
            cy = y + 0.5
            for x in range(x0, x1):
                cx = x + 0.5
                cov = clamp01(0.5 - sdf(cx, cy))
                if cov > 0.0:
                    r, g, b, a = shade(cx, cy)
                    self.over(x, y, r, g, b, a * cov)

    def glow(self, sdf, colour, alpha, near, far, box=None):
        """A soft halo: full `alpha` at distance `near`, fading out at `far`."""
        x0, y0, x1, y1 = self._box(box)
        r, g, b = colour
        for y in range(y0, y1):
            for x in range(x0, x1):
                a = alpha * (1.0 - smoothstep(near, far, sdf(x + 0.5, y + 0.5)))
                self.over(x, y, r, g, b, a)

    def crop(self, x, y, w, h):
        c = Canvas(w, h)
        for row in range(h):
            s = ((y + row) * self.w + x) * 4
            c.px[row * w * 4:(row + 1) * w * 4] = self.px[s:s + w * 4]
        return c

    def paste(self, src, x, y):
        for row in range(src.h):
            d = ((y + row) * self.w + x) * 4
            self.px[d:d + src.w * 4] = src.px[row * src.w * 4:(row + 1) * src.w * 4]

    def rows(self, alpha):
        """8-bit scanlines; without alpha the picture must be opaque."""
        out = []
        q = [min(255, max(0, int(v * 255.0 + 0.5))) for v in self.px]
        for y in range(self.h):
            line = q[y * self.w * 4:(y + 1) * self.w * 4]
            if alpha:
                out.append(bytes(line))
            else:
                assert all(a == 255 for a in line[3::4]), "opaque picture expected"
                del line[3::4]
                out.append(bytes(line))
        return out

    def png(self, alpha):
        return encode_png(self.w, self.h, self.rows(alpha), alpha)


# ---------------------------------------------------------------------------
# The deployment

PORT = 8765
SITE = "http://127.0.0.1:%d" % PORT
LAUNCHER_PAGE = SITE + "/launcher.html"
GAME_HEADER = "game:"          # a link to "game:" + address starts the game

# Launcher background
MAIN_W, MAIN_H = 760, 480
PANEL = (20, 16, 740, 458)
PANEL_R = 18
BAND_BOTTOM = 76
PAGE_BG = hexc("#101c34")      # page colour of the web area, also its placeholder

# Launcher links, in link-number order.  Button faces are cut from the
# background at their place, so they sit seamlessly on it.
LINKS = [
    dict(type=1, x=620, y=92, w=100, h=76, icon="home", note="homepage", accent="#3f7fe0",
         url=LAUNCHER_PAGE + "?view=home"),
    dict(type=1, x=620, y=180, w=100, h=76, icon="register", note="register", accent="#2fae74",
         url=LAUNCHER_PAGE + "?view=register;from=launcher"),
    dict(type=1, x=620, y=268, w=100, h=76, icon="recharge", note="recharge", accent="#e0a12a",
         url=LAUNCHER_PAGE + "?view=pay"),
    dict(type=1, x=620, y=356, w=100, h=76, icon="forum", note="forum", accent="#9a62e0",
         url=LAUNCHER_PAGE + "?view=forum"),
    dict(type=4, x=40, y=92, w=560, h=344, note="launcher page (link 5: the client appends the machine code)",
         url=LAUNCHER_PAGE + "?from=launcher"),
    dict(type=2, x=662, y=31, w=30, h=26, icon="minimise", note="minimise", accent="#3f6fb8", url=""),
    dict(type=3, x=698, y=31, w=30, h=26, icon="close", note="close, after the closeMsg question",
         accent="#d2453c", url=""),
]

# Game window title bar: 27 pixels high, 3-pixel border.
BAND_H = 27
INTERVAL = 2                   # gap between the stacked faces of a button picture
WIN_BTN = (28, 22)
PILL_H = 21

# Button pictures of style.png (pictures 1..8), then the frame pieces (9..16).
BUTTON_PICS = [
    ("close", WIN_BTN), ("maximise", WIN_BTN), ("restore", WIN_BTN),
    ("minimise", WIN_BTN), ("hide", WIN_BTN),
    ("settings", (46, PILL_H)), ("link", (42, PILL_H)), ("recharge", (42, PILL_H)),
]
EDGE_PICS = [  # frame position order: top-left, top, top-right, left, right,
    ("top-left", (6, 27)), ("top", (58, 27)), ("top-right", (6, 27)),  # bottom-left,
    ("left", (3, 2)), ("right", (3, 2)),                                # bottom,
    ("bottom-left", (4, 5)), ("bottom", (2, 3)), ("bottom-right", (4, 5)),  # bottom-right
]

WHITE = 16777215


def colorref(rgb):
    r, g, b = (int(round(c * 255)) for c in rgb)
    return b << 16 | g << 8 | r


GAME_BUTTONS = [
    dict(type=5, x=-28, y=0, pic="close", tips="关闭", note="close"),
    dict(type=6, x=-56, y=0, pic="maximise", tips="最大化",
         note="maximise, shown while restored"),
    dict(type=10, x=-56, y=0, pic="restore", tips="还原",
         note="restore, shown while maximised, same place"),
    dict(type=7, x=-84, y=0, pic="minimise", tips="最小化", note="minimise"),
    dict(type=8, x=-112, y=0, pic="hide", tips="隐藏到托盘 (F9)", shortCut=9,
         note="hide to the tray, also on F9"),
    dict(type=11, x=-161, y=3, pic="settings", title="设置", tips="设置",
         note="settings menu"),
    dict(type=1, x=-205, y=3, pic="link", title="官网", url=SITE + "/launcher.html?view=home",
         tips="打开官方网站", note="link to the homepage"),
    dict(type=1, x=-249, y=3, pic="link", title="论坛", url=SITE + "/launcher.html?view=forum",
         tips="打开游戏论坛", note="link to the forum"),
    dict(type=12, x=-293, y=3, pic="recharge", title="充值", url=SITE + "/launcher.html?view=pay",
         tips="账号充值", color=colorref(hexc("#3a2300")),
         note="recharge link; the game page may change its address"),
]

MENUS = [
    dict(title="刷新(F5)", type=1, shortCut=5, note="restart the client, also on F5"),
    dict(title="清理", type=2, note="empty the browser cache"),
    dict(title="全屏(F11)", type=3, shortCut=11, note="full screen on and off, also on F11"),
    dict(title="版本号", type=4, note="shows the version after its title"),
]

GLOBAL = [  # key, value, in the order an operator reads them
    ("title", "星海征途"),
    ("version", "1.30"),
    ("server", "127.0.0.1"),
    ("port", PORT),
    ("versionUrl", "/version.txt"),
    ("exeUrl", "/download/client.exe"),
    ("gameheader", GAME_HEADER),
    ("firstUrl", ""),
    ("closeMsg", "确定要退出游戏吗？"),
    ("notityTitle", "星海征途 - 单击图标恢复窗口"),
    ("notifyCloseTitle", "退出游戏"),
    ("clearFlashTitle", "清理缓存"),
    ("clearFlashMsg", "清理浏览器缓存可以解决游戏更新后显示异常的问题，确定要清理吗？"),
    ("minGameWidth", 960),
    ("minGameHeight", 640),
    ("titleColor", WHITE),
    ("loginCenterColor", colorref(PAGE_BG)),
    ("logx", 8), ("logy", 3), ("titlex", 34), ("titley", 7),
]

# ---------------------------------------------------------------------------
# Icons, drawn into a box centred on (cx, cy)


def icon_sdf(name, cx, cy, s):
    """Outline icon of about s x s pixels."""
    h = s / 2
    lw = max(1.6, s / 11)
    if name == "home":
        roof = polyline([(cx - h, cy - h * 0.05), (cx, cy - h), (cx + h, cy - h * 0.05)], lw)
        body = polyline([(cx - h * 0.7, cy - h * 0.3), (cx - h * 0.7, cy + h),
                         (cx + h * 0.7, cy + h), (cx + h * 0.7, cy - h * 0.3)], lw)
        door = rrect(cx - h * 0.18, cy + h * 0.3, cx + h * 0.18, cy + h, 1.5)
        return union(roof, body, door)
    if name == "register":
        head = ring(circle(cx - h * 0.25, cy - h * 0.45, h * 0.38), lw)
        shoulders = intersect(ring(circle(cx - h * 0.25, cy + h, h * 0.75), lw),
                              lambda x, y: y - (cy + h * 0.95))
        plus = union(segment(cx + h * 0.75, cy - h * 0.1, cx + h * 0.75, cy + h * 0.6, lw),
                     segment(cx + h * 0.4, cy + h * 0.25, cx + h * 1.1, cy + h * 0.25, lw))
        return union(head, shoulders, plus)
    if name == "recharge":
        coin = ring(circle(cx, cy, h), lw)
        yen = union(polyline([(cx - h * 0.45, cy - h * 0.55), (cx, cy - h * 0.05),
                              (cx + h * 0.45, cy - h * 0.55)], lw),
                    segment(cx, cy - h * 0.05, cx, cy + h * 0.6, lw),
                    segment(cx - h * 0.38, cy + h * 0.08, cx + h * 0.38, cy + h * 0.08, lw * 0.8),
                    segment(cx - h * 0.38, cy + h * 0.34, cx + h * 0.38, cy + h * 0.34, lw * 0.8))
        return union(coin, yen)
    if name == "forum":
        bubble = rrect(cx - h, cy - h * 0.8, cx + h, cy + h * 0.45, h * 0.35)
        tail = convex([(cx - h * 0.55, cy + h * 0.3), (cx - h * 0.05, cy + h * 0.3),
                       (cx - h * 0.6, cy + h)])
        shape = union(bubble, tail)
        dots = union(*(circle(cx + k * h * 0.45, cy - h * 0.18, lw * 0.75) for k in (-1, 0, 1)))
        return union(ring(shape, lw), dots)
    if name == "minimise":
        return segment(cx - h, cy + h * 0.5, cx + h, cy + h * 0.5, lw)
    if name == "close":
        return union(segment(cx - h, cy - h, cx + h, cy + h, lw),
                     segment(cx - h, cy + h, cx + h, cy - h, lw))
    raise ValueError(name)


# ---------------------------------------------------------------------------
# Launcher background and buttons


def draw_emblem(c, cx, cy, r):
    """The game's emblem: a faceted crystal in gold and cyan."""
    outer = convex([(cx, cy - r), (cx + r * 0.8, cy), (cx, cy + r), (cx - r * 0.8, cy)])
    c.glow(outer, hexc("#7fd4ff"), 0.35, 0, r * 0.6, (cx - 2 * r, cy - 2 * r, cx + 2 * r, cy + 2 * r))
    c.fill(outer, vgrad(cy - r, cy + r, hexc("#ffe7a0"), hexc("#c07a18")),
           (cx - r, cy - r, cx + r, cy + r))
    inner = convex([(cx, cy - r * 0.62), (cx + r * 0.46, cy), (cx, cy + r * 0.62),
                    (cx - r * 0.46, cy)])
    c.fill(inner, vgrad(cy - r, cy + r, hexc("#bff0ff"), hexc("#1a5ea8")),
           (cx - r, cy - r, cx + r, cy + r))
    facet = convex([(cx, cy - r * 0.62), (cx + r * 0.46, cy), (cx, cy)])
    c.fill(facet, flat((1, 1, 1), 0.35), (cx - r, cy - r, cx + r, cy + r))


def draw_background():
    c = Canvas(MAIN_W, MAIN_H)
    x0, y0, x1, y1 = PANEL
    panel = rrect(x0, y0, x1, y1, PANEL_R)

    # Soft drop shadow and a faint blue halo: the only partly transparent pixels.
    c.glow(shifted(panel, 0, 5), (0.0, 0.01, 0.04), 0.55, -6, 16)
    c.glow(panel, hexc("#5aa0ff"), 0.28, 0, 7)

    # Body: dark blue gradient, lit from the upper left.
    c.fill(panel, vgrad(y0, y1, hexc("#18284a"), hexc("#0a1122")), PANEL)
    lx, ly = 180.0, 110.0

    def light(x, y):
        t = clamp01(1 - math.hypot(x - lx, (y - ly) * 1.3) / 460)
        return hexc("#3f6fc0") + (0.30 * t * t,)
    c.fill(panel, light, PANEL)

    # Title band with a glassy upper half and a glowing bottom rule.
    band = intersect(panel, lambda x, y: y - BAND_BOTTOM)
    c.fill(band, vgrad(y0, BAND_BOTTOM, hexc("#3567b4"), hexc("#15305f")),
           (x0, y0, x1, BAND_BOTTOM))
    glass = intersect(panel, lambda x, y: y - (y0 + 28))
    c.fill(glass, vgrad(y0, y0 + 28, (1, 1, 1), (1, 1, 1), 0.07), (x0, y0, x1, y0 + 28))
    mid = (x0 + x1) / 2

    def rule(x, y):
        return hexc("#8fd0ff") + (0.9 * (1 - abs(x - mid) / ((x1 - x0) / 2)) ** 1.5,)
    c.fill(lambda x, y: abs(y - (BAND_BOTTOM - 0.5)) - 0.5, rule, (x0, BAND_BOTTOM - 1, x1, BAND_BOTTOM))
    c.glow(lambda x, y: abs(y - (BAND_BOTTOM + 0.5)) - 0.5, hexc("#4c8fe0"), 0.25, 0, 6,
           (x0 + 2, BAND_BOTTOM, x1 - 2, BAND_BOTTOM + 8))

    # Emblem and a row of faint stars in the band.
    draw_emblem(c, 58, 46, 19)
    for sx, sy, sr in [(120, 34, 1.4), (170, 56, 1.0), (236, 30, 1.2), (300, 50, 0.9),
                       (372, 36, 1.3), (455, 58, 1.0), (520, 32, 1.1), (590, 52, 0.9)]:
        c.glow(circle(sx, sy, 0.3), hexc("#cfe6ff"), 0.55, 0, sr * 2.2,
               (sx - 5, sy - 5, sx + 6, sy + 6))

    # Rim of the panel.
    c.fill(ring(panel, 1.0), lambda x, y: hexc("#8ab8ff") + (0.55 if y < BAND_BOTTOM else 0.3,))

    # Frame of the web area.
    area = next(l for l in LINKS if l["type"] == 4)
    ax0, ay0 = area["x"], area["y"]
    ax1, ay1 = ax0 + area["w"], ay0 + area["h"]
    frame = rrect(ax0 - 4, ay0 - 4, ax1 + 4, ay1 + 4, 7)
    c.glow(frame, (0, 0, 0), 0.5, 0, 8, (ax0 - 14, ay0 - 14, ax1 + 14, ay1 + 16))
    c.fill(frame, flat(hexc("#060b16")), (ax0 - 5, ay0 - 5, ax1 + 5, ay1 + 5))
    c.fill(ring(frame, 1.0), flat(hexc("#4d7fd0"), 0.6), (ax0 - 5, ay0 - 5, ax1 + 5, ay1 + 5))
    c.fill(rrect(ax0, ay0, ax1, ay1, 2), flat(PAGE_BG), (ax0, ay0, ax1, ay1))

    # Card behind the column of link buttons.
    col = [l for l in LINKS if l["type"] == 1]
    cx0 = min(l["x"] for l in col) - 8
    cx1 = max(l["x"] + l["w"] for l in col) + 8
    cy0, cy1 = ay0 - 4, ay1 + 4
    card = rrect(cx0, cy0, cx1, cy1, 8)
    c.fill(card, vgrad(cy0, cy1, hexc("#142448"), hexc("#0b1530"), 0.9), (cx0, cy0, cx1, cy1))
    c.fill(ring(card, 1.0), flat(hexc("#4d7fd0"), 0.45), (cx0, cy0, cx1, cy1))
    return c


def draw_link_button(bg, link, pressed):
    """Face of a launcher button: the background under it with a tile on top."""
    x, y, w, h = link["x"], link["y"], link["w"], link["h"]
    c = bg.crop(x, y, w, h)
    accent = hexc(link["accent"])
    small = link["icon"] in ("minimise", "close")
    r = 6 if small else 10
    tile = rrect(0.5, 0.5, w - 0.5, h - 0.5, r)
    dark = mix(accent, (0, 0, 0), 0.55)
    if pressed:
        top, bottom = mix(accent, (0, 0, 0), 0.62), mix(accent, (0, 0, 0), 0.40)
    else:
        top, bottom = mix(accent, (1, 1, 1), 0.18), dark
    if small and not pressed:
        top, bottom = mix(accent, (0, 0, 0), 0.15), mix(accent, (0, 0, 0), 0.5)
    c.fill(tile, vgrad(0, h, top, bottom))
    if pressed:   # inner shadow along the top edge
        c.fill(tile, lambda px, py: (0, 0, 0, 0.45 * (1 - smoothstep(0, 7, py))))
    else:         # gloss on the upper half
        gloss = intersect(rrect(2, 2, w - 2, h - 2, r - 1), lambda px, py: py - h * 0.48)
        c.fill(gloss, vgrad(0, h * 0.48, (1, 1, 1), (1, 1, 1), 0.16))
    c.fill(ring(tile, 1.0), flat(mix(accent, (1, 1, 1), 0.1 if pressed else 0.45),
                                 0.5 if pressed else 0.8))
    off = 1 if pressed else 0
    if small:
        glyph = icon_sdf(link["icon"], w / 2 + off, h / 2 + off, 10)
    else:
        glyph = icon_sdf(link["icon"], w / 2 + off, h / 2 - 2 + off, 34)
        # a short accent bar under the icon
        bar = segment(w / 2 - 14 + off, h - 11 + off, w / 2 + 14 + off, h - 11 + off, 2.5)
        c.fill(bar, flat(mix(accent, (1, 1, 1), 0.6), 0.9 if not pressed else 0.6))
    if not pressed:
        c.fill(shifted(glyph, 0, 1), flat((0, 0, 0), 0.35))
    c.fill(glyph, flat((1, 1, 1) if not pressed else (0.82, 0.86, 0.94)))
    return c


# ---------------------------------------------------------------------------
# Game window title bar


def band_colour(row):
    """Colour of the title band's pixel row (the band is the same across)."""
    if row == 0:
        return hexc("#081226")
    if row == 1:
        return hexc("#6f9ae0")
    if row >= BAND_H - 1:
        return hexc("#0a1630")
    t = (row - 2) / (BAND_H - 4)
    c = mix(hexc("#3f70c0"), hexc("#173161"), t)
    if row < 13:
        c = mix(c, (1, 1, 1), 0.06)
    return c


BORDER = [hexc("#081226"), hexc("#2c548f"), hexc("#0d1a34")]   # outer to inner
CLIENT = hexc("#0d1a34")


def frame_pixel(dist_side, row):
    """Pixel of a border column `dist_side` from the outer edge, in title row
    `row` (None below the title band)."""
    if row is None:
        return BORDER[dist_side] if dist_side < 3 else CLIENT
    if dist_side == 0:
        return BORDER[0]
    if dist_side == 1 and 0 < row:
        return mix(band_colour(row), (1, 1, 1), 0.12)
    return band_colour(row)


def draw_edge_piece(name, w, h):
    c = Canvas(w, h)
    for y in range(h):
        for x in range(w):
            if name in ("top-left", "top-right", "top"):
                side = x if name == "top-left" else w - 1 - x if name == "top-right" else 99
                rgb = frame_pixel(side, y)
            elif name in ("left", "right"):
                rgb = frame_pixel(x if name == "left" else w - 1 - x, None)
            else:   # bottom row pieces
                below = h - 1 - y
                side = x if name == "bottom-left" else w - 1 - x if name == "bottom-right" else 99
                rgb = frame_pixel(min(side, below), None)
            c.over(x, y, *rgb, 1.0)
    return c


def band_canvas(w, h, y0):
    """A piece of the title band, rows y0 .. y0 + h."""
    c = Canvas(w, h)
    for y in range(h):
        rgb = band_colour(y0 + y)
        for x in range(w):
            c.over(x, y, *rgb, 1.0)
    return c


def window_glyph(name, w, h, off):
    cx, cy = w / 2 + off, h / 2 + off
    if name == "close":
        return union(segment(cx - 4, cy - 4, cx + 4, cy + 4, 1.7),
                     segment(cx - 4, cy + 4, cx + 4, cy - 4, 1.7))
    if name == "maximise":
        return union(ring(rrect(cx - 5, cy - 4.5, cx + 5, cy + 4.5, 0.3), 1.0),
                     rrect(cx - 5, cy - 4.5, cx + 5, cy - 2.5, 0.3))
    if name == "restore":
        back = subtract(ring(rrect(cx - 2, cy - 6, cx + 6, cy + 1, 0.3), 1.0),
                        rrect(cx - 5, cy - 3, cx + 3, cy + 4, 0.3))
        front = union(ring(rrect(cx - 5, cy - 3, cx + 3, cy + 4, 0.3), 1.0),
                      rrect(cx - 5, cy - 3, cx + 3, cy - 1.5, 0.3))
        return union(back, union(front, rrect(cx - 2, cy - 6, cx + 6, cy - 4.5, 0.3)))
    if name == "minimise":
        return rrect(cx - 5, cy + 2, cx + 5, cy + 4, 0.3)
    if name == "hide":
        arrow = union(segment(cx, cy - 6, cx, cy + 1, 1.6),
                      polyline([(cx - 3.5, cy - 2.5), (cx, cy + 1), (cx + 3.5, cy - 2.5)], 1.6))
        tray = polyline([(cx - 6, cy + 1), (cx - 6, cy + 5), (cx + 6, cy + 5), (cx + 6, cy + 1)], 1.4)
        return union(arrow, tray)
    raise ValueError(name)


def draw_button_face(name, w, h, y0, state):
    """One face (normal, pressed, hover) of a title-bar button picture, drawn on
    the band rows it will cover."""
    c = band_canvas(w, h, y0)
    pressed, hover = state == "pressed", state == "hover"
    if name in ("settings", "link", "recharge"):
        pill = rrect(0.5, 0.5, w - 0.5, h - 0.5, (h - 1) / 2)
        if name == "recharge":
            top, bottom = hexc("#ffe28a"), hexc("#d58a16")
            if hover:
                top, bottom = hexc("#fff0b8"), hexc("#e99d22")
            if pressed:
                top, bottom = hexc("#b87412"), hexc("#e3a43a")
            c.fill(pill, vgrad(0, h, top, bottom))
            c.fill(ring(pill, 1.0), flat(hexc("#6b3f00"), 0.7))
        else:
            if pressed:
                c.fill(pill, vgrad(0, h, hexc("#0b1a38"), hexc("#1a3566"), 0.95))
            else:
                c.fill(pill, flat((1, 1, 1), 0.24 if hover else 0.12))
            c.fill(ring(pill, 1.0), flat(hexc("#9cc2ff") if not pressed else hexc("#06101f"),
                                         0.85 if hover else 0.6))
        if not pressed:
            gloss = intersect(rrect(2, 1.5, w - 2, h - 1.5, (h - 3) / 2), lambda x, y: y - h * 0.45)
            c.fill(gloss, flat((1, 1, 1), 0.18))
        if name == "settings":   # caret marking the menu, right of the caption
            off = 1 if pressed else 0
            caret = convex([(w - 12 + off, h / 2 - 1.5 + off), (w - 6 + off, h / 2 - 1.5 + off),
                            (w - 9 + off, h / 2 + 2 + off)])
            c.fill(caret, flat((0.92, 0.95, 1.0)))
        return c
    # window buttons: bare glyph on the band, a rounded plate on hover/press
    plate = rrect(1.5, 1.5, w - 1.5, h - 1.5, 3)
    if name == "close":
        if hover:
            c.fill(plate, vgrad(0, h, hexc("#f0625a"), hexc("#b8231c")))
        elif pressed:
            c.fill(plate, vgrad(0, h, hexc("#7d140f"), hexc("#a81f18")))
    else:
        if hover:
            c.fill(plate, flat((1, 1, 1), 0.22))
            c.fill(ring(plate, 1.0), flat(hexc("#a8c8ff"), 0.6))
        elif pressed:
            c.fill(plate, flat(hexc("#06101f"), 0.55))
    glyph = window_glyph(name, w, h, 1 if pressed else 0)
    if state == "normal":
        c.fill(shifted(glyph, 0, 1), flat((0, 0, 0), 0.4))
    c.fill(glyph, flat((1, 1, 1) if hover else (0.86, 0.91, 1.0)))
    return c


def layout_style():
    """Places the pictures in style.png; returns (width, height, pictures)
    with pictures as (name, x, y, w, h, interval) in picture-number order."""
    pics, x = [], 0
    for name, (w, h) in BUTTON_PICS:
        pics.append((name, x, 0, w, h, INTERVAL))
        x += w + 2
    sheet_w = x - 2
    col_h = max(3 * h + 2 * INTERVAL for _, (w, h) in BUTTON_PICS)
    x, y = 0, col_h + 4
    for name, (w, h) in EDGE_PICS:
        pics.append((name, x, y, w, h, 0))
        x += w + 2
    sheet_h = y + max(h for _, (w, h) in EDGE_PICS)
    return max(sheet_w, x - 2), sheet_h, pics


def button_y(name):
    """Title-bar row where the buttons showing picture `name` sit."""
    rows = {b["y"] for b in GAME_BUTTONS if b["pic"] == name}
    assert len(rows) == 1, name
    return rows.pop()


def draw_style():
    w, h, pics = layout_style()
    c = Canvas(w, h)
    for name, x, y, pw, ph, interval in pics:
        if interval:
            for k, state in enumerate(("normal", "pressed", "hover")):
                c.paste(draw_button_face(name, pw, ph, button_y(name), state), x, y + k * (ph + interval))
        else:
            c.paste(draw_edge_piece(name, pw, ph), x, y)
    return c, pics


def draw_logo():
    size, logy = 20, dict(GLOBAL)["logy"]
    c = band_canvas(size, size, logy)
    draw_emblem(c, size / 2, size / 2, 9.2)
    return c


# ---------------------------------------------------------------------------
# cg.txt


def config_text(pics):
    pic_no = {}
    for i, p in enumerate(pics, 1):
        pic_no.setdefault(p[0], i)
    lines = ["; Sample deployment of the micro-client.",
             "; Generated by tools/sample/draw_sample_assets.py together with the pictures",
             "; of this folder; edit the script, not this file.",
             "", "[global]"]
    notes = {"gameheader": "a navigation of the launcher page to gameheader + address starts the game",
             "firstUrl": "an address here opens the game window at once, without the launcher",
             "titleColor": "colours are decimal 0x00BBGGRR values"}
    for key, value in GLOBAL:
        if key in notes:
            lines.append("; " + notes[key])
        lines.append("%s=%s" % (key, value))
    lines.append("; frame pieces: " + ", ".join(name for name, _ in EDGE_PICS))
    for k, (name, _) in enumerate(EDGE_PICS, 1):
        lines.append("edgeImage%d=%d" % (k, pic_no[name]))
    lines += ["linkCount=%d" % len(LINKS), "picCount=%d" % len(pics),
              "gameButtonCount=%d" % len(GAME_BUTTONS), "menuCount=%d" % len(MENUS)]

    kinds = {1: "button", 2: "button", 3: "button", 4: "web area"}
    for n, l in enumerate(LINKS, 1):
        lines += ["", "; %s: %s" % (kinds[l["type"]], l["note"]), "[link%d]" % n, "type=%d" % l["type"],
                  "url=%s" % l["url"], "x=%d" % l["x"], "y=%d" % l["y"],
                  "width=%d" % l["w"], "height=%d" % l["h"]]
    for n, (name, x, y, w, h, interval) in enumerate(pics, 1):
        note = ("frame, %s" % name if not interval else
                "%s button: normal, pressed and hover faces stacked" % name)
        lines += ["", "; %s" % note, "[gamePic%d]" % n, "x=%d" % x, "y=%d" % y,
                  "width=%d" % w, "height=%d" % h, "interval=%d" % interval]
    for n, b in enumerate(GAME_BUTTONS, 1):
        lines += ["", "; " + b["note"], "[gamebutton%d]" % n, "type=%d" % b["type"],
                  "x=%d" % b["x"], "y=%d" % b["y"],
                  "image=%d" % pic_no[b["pic"]], "title=%s" % b.get("title", ""),
                  "url=%s" % b.get("url", ""), "tips=%s" % b.get("tips", ""),
                  "color=%d" % b.get("color", WHITE), "shortCut=%d" % b.get("shortCut", 0)]
    for n, m in enumerate(MENUS, 1):
        lines += ["", "; " + m["note"], "[menu%d]" % n, "title=%s" % m["title"], "type=%d" % m["type"],
                  "shortCut=%d" % m.get("shortCut", 0)]
    text = "\r\n".join(lines) + "\r\n"
    return text.encode("gbk")


def check_limits():
    """Every text must fit its field (the client cuts longer ones)."""
    limits = {"gameheader": 63, "title": 127, "firstUrl": 127, "version": 63, "server": 63,
              "versionUrl": 127, "exeUrl": 127, "notityTitle": 63, "notifyCloseTitle": 63,
              "clearFlashTitle": 63, "clearFlashMsg": 127, "closeMsg": 63}
    for key, value in GLOBAL:
        if key in limits:
            assert len(str(value).encode("gbk")) <= limits[key], key
    for l in LINKS:
        assert len(l["url"].encode("gbk")) <= 255 - 27, l["url"]   # room for the machine code
    for b in GAME_BUTTONS:
        for key, cap in (("title", 31), ("tips", 31), ("url", 255)):
            assert len(b.get(key, "").encode("gbk")) <= cap, (key, b)
    version = dict(GLOBAL)["version"]
    for m in MENUS:
        text = m["title"] + (version if m["type"] == 4 else "")
        assert len(m["title"].encode("gbk")) <= 31 and len(text.encode("gbk")) <= 63


def main(argv):
    if len(argv) != 2:
        sys.stderr.write("usage: %s OUTPUT_DIR\n" % argv[0])
        return 2
    out = argv[1]
    os.makedirs(out, exist_ok=True)
    check_limits()
    files = {}

    bg = draw_background()
    files["main1.png"] = bg.png(alpha=True)
    for n, link in enumerate(LINKS, 1):
        if link["type"] in (1, 2, 3):
            for suffix, pressed in (("n", False), ("d", True)):
                face = draw_link_button(bg, link, pressed)
                rows = face.rows(alpha=False)
                # the launcher's overlay keys out pure green: never paint it
                assert all(b"\x00\xff\x00" not in bytes(r[i:i + 3]) for r in rows
                           for i in range(0, len(r), 3)), n
                files["%d_%s.png" % (n, suffix)] = encode_png(face.w, face.h, rows, False)

    style, pics = draw_style()
    assert [p[0] for p in pics[8:]] == [name for name, _ in EDGE_PICS]   # pictures 9..16
    files["style.png"] = style.png(alpha=True)
    files["logo.png"] = draw_logo().png(alpha=False)
    files["cg.txt"] = config_text(pics)

    for name in sorted(files):
        with open(os.path.join(out, name), "wb") as f:
            f.write(files[name])
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
