#!/usr/bin/python3
"""Draw every picture Culvora ships, from code, into data/.

Everything is drawn on a canvas four times the final size and scaled down:
to 2x for the HiDPI PNGs in data/pics/hidpi/ and to 1x for the GIFs (and the
icon PNGs).  No randomness that is not seeded, no timestamps: running the
script twice writes the same bytes.

    /usr/bin/python3 tools/draw_artwork.py [output-data-folder]
"""

import math
import os
import random
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

SS = 4  # canvas pixels per 1x pixel

# ---------------------------------------------------------------- fonts

DEJAVU = '/usr/share/fonts/truetype/dejavu/'
DANCING = '/usr/share/fonts/opentype/dancingscript/DancingScript-Bold.otf'
SANS = DEJAVU + 'DejaVuSans.ttf'
SANS_B = DEJAVU + 'DejaVuSans-Bold.ttf'
SANS_CB = DEJAVU + 'DejaVuSansCondensed-Bold.ttf'
SERIF_I = DEJAVU + 'DejaVuSerif-Italic.ttf'
SERIF_B = DEJAVU + 'DejaVuSerif-Bold.ttf'

for _f in (DANCING, SANS, SANS_B, SANS_CB, SERIF_I, SERIF_B):
    if not os.path.exists(_f):
        sys.exit('missing font %s: apt-get install -y fonts-dejavu-core '
                 'fonts-dancingscript' % _f)

_font_cache = {}


def font(path, px):
    key = (path, px)
    if key not in _font_cache:
        _font_cache[key] = ImageFont.truetype(path, px)
    return _font_cache[key]


# ---------------------------------------------------------------- colours

PAPER = (251, 246, 234)
PAPER_L = (254, 251, 243)
LINEN = (243, 234, 214)
LINEN_D = (228, 215, 188)
INK = (59, 42, 30)
INK2 = (112, 90, 70)
TOMATO = (212, 68, 44)
TOMATO_D = (164, 45, 30)
TOMATO_L = (236, 112, 84)
TOMATO_P = (246, 196, 180)
OLIVE = (116, 138, 56)
OLIVE_D = (78, 98, 38)
SAGE = (156, 178, 130)
SAGE_L = (214, 224, 194)
SAGE_P = (232, 238, 218)
HONEY = (234, 176, 56)
HONEY_D = (190, 132, 28)
HONEY_L = (247, 214, 128)
HONEY_P = (251, 234, 190)
WOOD = (170, 120, 80)
WOOD_L = (204, 160, 114)
WOOD_D = (112, 76, 48)
WOOD_DD = (84, 56, 36)
STEEL = (178, 186, 190)
STEEL_L = (226, 231, 232)
STEEL_D = (116, 126, 132)
CREAM = (255, 252, 244)
WHITE = (255, 255, 255)
CARROT = (238, 128, 40)
CARROT_D = (204, 96, 24)


def mix(a, b, t):
    """Colour between a (t=0) and b (t=1); keeps alpha when both have it."""
    a = tuple(a) + (255,) * (4 - len(a))
    b = tuple(b) + (255,) * (4 - len(b))
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(4))


def rgba(c, alpha=None):
    c = tuple(c)
    if len(c) == 3:
        c = c + (255,)
    if alpha is not None:
        c = c[:3] + (int(round(alpha * 255)),)
    return c


def lighter(c, t):
    return mix(c, (255, 255, 255), t)[:3]


def darker(c, t):
    return mix(c, (0, 0, 0), t)[:3]


# ---------------------------------------------------------------- fills

class VGrad:
    """Vertical gradient, stops at local y positions: [(y, colour), ...]."""

    def __init__(self, *stops):
        self.stops = stops


class HGrad(VGrad):
    """Horizontal gradient, stops at local x positions."""


class Radial:
    """Radial gradient: inner colour at the centre, outer at radius r."""

    def __init__(self, cx, cy, r, inner, outer):
        self.cx, self.cy, self.r = cx, cy, r
        self.inner, self.outer = inner, outer


def _stop_colour(stops, v):
    if v <= stops[0][0]:
        return rgba(stops[0][1])
    for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
        if v <= p1:
            t = 0.0 if p1 == p0 else (v - p0) / (p1 - p0)
            return mix(c0, c1, t)
    return rgba(stops[-1][1])


# ---------------------------------------------------------------- shapes
# Shapes take local coordinates; the canvas maps them to pixels.  Each has
# bbox() in local units and draw(d, T, k, value) with T mapping a local point
# to pixels of the mask, k the pixels per local unit.


class Shape:
    pad = 0.0

    def bbox(self):
        raise NotImplementedError


class Rect(Shape):
    def __init__(self, x0, y0, x1, y1):
        self.b = (x0, y0, x1, y1)

    def bbox(self):
        return self.b

    def draw(self, d, T, k, v):
        x0, y0 = T(self.b[0], self.b[1])
        x1, y1 = T(self.b[2], self.b[3])
        d.rectangle((x0, y0, x1 - 1, y1 - 1), fill=v)


class RRect(Rect):
    def __init__(self, x0, y0, x1, y1, r):
        super().__init__(x0, y0, x1, y1)
        self.r = r

    def draw(self, d, T, k, v):
        x0, y0 = T(self.b[0], self.b[1])
        x1, y1 = T(self.b[2], self.b[3])
        r = max(0, min(self.r * k, (x1 - x0) / 2, (y1 - y0) / 2))
        d.rounded_rectangle((x0, y0, x1 - 1, y1 - 1), radius=int(r), fill=v)


class Ellipse(Rect):
    def draw(self, d, T, k, v):
        x0, y0 = T(self.b[0], self.b[1])
        x1, y1 = T(self.b[2], self.b[3])
        d.ellipse((x0, y0, x1 - 1, y1 - 1), fill=v)


def Circle(cx, cy, r):
    return Ellipse(cx - r, cy - r, cx + r, cy + r)


class Chord(Rect):
    """Part of an ellipse cut by the line between two angles (degrees)."""

    def __init__(self, x0, y0, x1, y1, a0, a1, pie=False):
        super().__init__(x0, y0, x1, y1)
        self.a = (a0, a1)
        self.pie = pie

    def draw(self, d, T, k, v):
        x0, y0 = T(self.b[0], self.b[1])
        x1, y1 = T(self.b[2], self.b[3])
        f = d.pieslice if self.pie else d.chord
        f((x0, y0, x1 - 1, y1 - 1), self.a[0], self.a[1], fill=v)


class Poly(Shape):
    def __init__(self, pts):
        self.pts = list(pts)

    def bbox(self):
        xs = [p[0] for p in self.pts]
        ys = [p[1] for p in self.pts]
        return (min(xs), min(ys), max(xs), max(ys))

    def draw(self, d, T, k, v):
        d.polygon([T(x, y) for x, y in self.pts], fill=v)


class Line(Poly):
    """Polyline of the given width with round joints and caps."""

    def __init__(self, pts, w, caps=True):
        super().__init__(pts)
        self.w = w
        self.caps = caps
        self.pad = w

    def draw(self, d, T, k, v):
        pts = [T(x, y) for x, y in self.pts]
        wpx = max(1, int(round(self.w * k)))
        d.line(pts, fill=v, width=wpx, joint='curve')
        if self.caps:
            r = self.w * k / 2
            for (x, y) in (pts[0], pts[-1]):
                d.ellipse((x - r, y - r, x + r, y + r), fill=v)


class Arc(Rect):
    def __init__(self, x0, y0, x1, y1, a0, a1, w):
        super().__init__(x0, y0, x1, y1)
        self.a = (a0, a1)
        self.w = w
        self.pad = w

    def draw(self, d, T, k, v):
        x0, y0 = T(self.b[0], self.b[1])
        x1, y1 = T(self.b[2], self.b[3])
        d.arc((x0, y0, x1 - 1, y1 - 1), self.a[0], self.a[1], fill=v,
              width=max(1, int(round(self.w * k))))


class Text(Shape):
    """Text at (x, y) with a Pillow anchor ('ls' = left baseline, ...)."""

    def __init__(self, x, y, s, path, size, anchor='ls', spacing=0.0):
        self.x, self.y, self.s = x, y, s
        self.path, self.size, self.anchor = path, size, anchor
        self.spacing = spacing
        self.pad = size * 0.6

    def width(self):
        f = font(self.path, 200)
        w = f.getlength(self.s) / 200 * self.size
        return w + self.spacing * max(0, len(self.s) - 1)

    def bbox(self):
        w = self.width()
        h = self.size
        return (self.x - w - 2, self.y - h * 1.3, self.x + w + 2,
                self.y + h * 1.3)

    def draw(self, d, T, k, v):
        px = max(1, int(round(self.size * k)))
        f = font(self.path, px)
        x, y = T(self.x, self.y)
        if not self.spacing:
            d.text((x, y), self.s, font=f, fill=v, anchor=self.anchor)
            return
        # letter-spaced: place glyph by glyph
        total = f.getlength(self.s) + self.spacing * k * (len(self.s) - 1)
        h = self.anchor[0]
        if h == 'm':
            x -= total / 2
        elif h == 'r':
            x -= total
        for i, ch in enumerate(self.s):
            d.text((x, y), ch, font=f, fill=v, anchor='l' + self.anchor[1])
            x += f.getlength(self.s[:i + 1]) - f.getlength(self.s[:i]) \
                + self.spacing * k


class Union(Shape):
    def __init__(self, *shapes):
        self.shapes = shapes

    def bbox(self):
        bs = [_padded(s) for s in self.shapes]
        return (min(b[0] for b in bs), min(b[1] for b in bs),
                max(b[2] for b in bs), max(b[3] for b in bs))

    def draw(self, d, T, k, v):
        for s in self.shapes:
            s.draw(d, T, k, v)


class Minus(Shape):
    """First shape with the others cut out of it."""

    def __init__(self, shape, *holes):
        self.shape, self.holes = shape, holes

    def bbox(self):
        return _padded(self.shape)

    def draw(self, d, T, k, v):
        self.shape.draw(d, T, k, v)
        for h in self.holes:
            h.draw(d, T, k, 0)


def _padded(s):
    b = s.bbox()
    p = s.pad
    return (b[0] - p, b[1] - p, b[2] + p, b[3] + p)


def wave(x0, y0, x1, y1, amp, turns, n=40):
    """Points of a gentle S-curve from (x0,y0) to (x1,y1)."""
    pts = []
    dx, dy = x1 - x0, y1 - y0
    ln = math.hypot(dx, dy) or 1
    nx, ny = -dy / ln, dx / ln
    for i in range(n + 1):
        t = i / n
        o = amp * math.sin(t * turns * 2 * math.pi)
        pts.append((x0 + dx * t + nx * o, y0 + dy * t + ny * o))
    return pts


def rotated(pts, cx, cy, deg):
    a = math.radians(deg)
    c, s = math.cos(a), math.sin(a)
    return [(cx + (x - cx) * c - (y - cy) * s, cy + (x - cx) * s + (y - cy) * c)
            for x, y in pts]


def rrect_pts(x0, y0, x1, y1, r, n=8):
    """Corner points of a rounded rectangle, for rotating."""
    pts = []
    for cx, cy, a0 in ((x1 - r, y0 + r, -90), (x1 - r, y1 - r, 0),
                       (x0 + r, y1 - r, 90), (x0 + r, y0 + r, 180)):
        for i in range(n + 1):
            a = math.radians(a0 + 90 * i / n)
            pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return pts


# ---------------------------------------------------------------- canvas

class Canvas:
    """An RGBA picture drawn at SS times its 1x size.

    Coordinates are 1x pixels, moved and scaled by the current transform
    (push/pop), so an icon can be drawn once in its own 100-unit box and
    placed anywhere at any size."""

    def __init__(self, w, h, bg=None):
        self.w, self.h = w, h
        self.img = Image.new('RGBA', (w * SS, h * SS),
                             rgba(bg) if bg else (0, 0, 0, 0))
        self.tf = [(0.0, 0.0, 1.0)]

    # transform
    def push(self, ox, oy, k=1.0):
        bx, by, bk = self.tf[-1]
        self.tf.append((bx + ox * bk, by + oy * bk, bk * k))

    def pop(self):
        self.tf.pop()

    def _px_box(self, shape, extra=0.0):
        ox, oy, k = self.tf[-1]
        b = _padded(shape)
        x0 = math.floor((ox + b[0] * k - extra) * SS) - 2
        y0 = math.floor((oy + b[1] * k - extra) * SS) - 2
        x1 = math.ceil((ox + b[2] * k + extra) * SS) + 2
        y1 = math.ceil((oy + b[3] * k + extra) * SS) + 2
        W, H = self.img.size
        return (max(0, x0), max(0, y0), min(W, x1), min(H, y1)), \
            (x0, y0, x1, y1)

    def mask(self, shape, box):
        """Shape as an L mask over the pixel box."""
        ox, oy, k = self.tf[-1]
        m = Image.new('L', (box[2] - box[0], box[3] - box[1]), 0)
        d = ImageDraw.Draw(m)

        def T(x, y):
            return ((ox + x * k) * SS - box[0], (oy + y * k) * SS - box[1])
        shape.draw(d, T, k * SS, 255)
        return m

    def _source(self, fill, box):
        w, h = box[2] - box[0], box[3] - box[1]
        ox, oy, k = self.tf[-1]
        if isinstance(fill, Radial):
            n = 96
            small = Image.new('RGBA', (n, n))
            data = []
            cx = (ox + fill.cx * k) * SS
            cy = (oy + fill.cy * k) * SS
            r = fill.r * k * SS
            for j in range(n):
                y = box[1] + (j + 0.5) * h / n
                for i in range(n):
                    x = box[0] + (i + 0.5) * w / n
                    t = min(1.0, math.hypot(x - cx, y - cy) / r)
                    t = t * t * (3 - 2 * t)
                    data.append(mix(fill.inner, fill.outer, t))
            small.putdata(data)
            return small.resize((w, h), Image.BICUBIC)
        if isinstance(fill, VGrad):
            horiz = isinstance(fill, HGrad)
            n = w if horiz else h
            strip = Image.new('RGBA', (n, 1) if horiz else (1, n))
            vals = []
            for i in range(n):
                if horiz:
                    v = ((box[0] + i + 0.5) / SS - ox) / k
                else:
                    v = ((box[1] + i + 0.5) / SS - oy) / k
                vals.append(_stop_colour(fill.stops, v))
            strip.putdata(vals)
            return strip.resize((w, h), Image.NEAREST)
        return Image.new('RGBA', (w, h), rgba(fill))

    def _composite(self, src, m, box):
        a = ImageChops.multiply(m, src.getchannel('A'))
        src = src.copy()
        src.putalpha(a)
        region = self.img.crop(box)
        self.img.paste(Image.alpha_composite(region, src), box[:2])

    def fill(self, shape, fill, alpha=None):
        box, full = self._px_box(shape)
        if box[2] <= box[0] or box[3] <= box[1]:
            return
        m = self.mask(shape, box)
        src = self._source(fill, box)
        if alpha is not None:
            src.putalpha(src.getchannel('A').point(
                lambda v: int(round(v * alpha))))
        self._composite(src, m, box)

    def shadow(self, shape, colour=(60, 40, 20), alpha=0.35, blur=3.0,
               dx=0.0, dy=2.0):
        """Soft shadow of a shape; blur and offsets in local units."""
        ox, oy, k = self.tf[-1]
        self.push(dx, dy)
        box, _ = self._px_box(shape, extra=blur * 3 * k)
        m = self.mask(shape, box)
        self.pop()
        m = m.filter(ImageFilter.GaussianBlur(blur * k * SS))
        src = Image.new('RGBA', m.size, rgba(colour, alpha))
        self._composite(src, m, box)

    def glow(self, shape, colour, alpha=0.8, blur=4.0):
        self.shadow(shape, colour, alpha, blur, 0, 0)

    def layer(self):
        """A transparent canvas of the same size and transform."""
        c = Canvas(self.w, self.h)
        c.tf = list(self.tf)
        return c

    def paste(self, layer, clip=None, alpha=1.0):
        """Lay a layer over this canvas, optionally clipped to a shape."""
        src = layer.img
        if clip is not None:
            box, _ = self._px_box(clip)
            m = Image.new('L', src.size, 0)
            m.paste(self.mask(clip, box), box[:2])
            a = ImageChops.multiply(m, src.getchannel('A'))
            src = src.copy()
            src.putalpha(a)
        if alpha != 1.0:
            src = src.copy()
            src.putalpha(src.getchannel('A').point(
                lambda v: int(round(v * alpha))))
        self.img = Image.alpha_composite(self.img, src)


# ---------------------------------------------------------------- output

def scaled(img, size):
    """Good downscale of an RGBA picture (premultiplied, Lanczos)."""
    return img.convert('RGBa').resize(size, Image.LANCZOS).convert('RGBA')


TRANSPARENT_INDEX = 255


def to_gif(img, path, transparent=False, matte=PAPER, threshold=128,
           keep=()):
    """Write a 1x RGBA picture as a palette GIF.

    Adaptive palette of 255 colours with Floyd-Steinberg dithering; the
    colours in keep get exact palette entries so flat areas stay flat.
    Transparent pictures: pixels with alpha below threshold become palette
    index 255, the rest are laid on the matte colour first."""
    rgb = Image.new('RGB', img.size, matte)
    rgb.paste(img, (0, 0), img)
    keep = [tuple(c[:3]) for c in keep]
    n = 255 - len(keep)
    q = rgb.quantize(colors=n, method=Image.Quantize.LIBIMAGEQUANT,
                     dither=Image.Dither.NONE)
    pal = q.getpalette()[:3 * n]
    pal += [0] * (3 * n - len(pal))
    # entries a hair away from a kept colour would speckle its flat areas
    for i in range(n):
        e = pal[3 * i:3 * i + 3]
        for c in keep:
            if sum((e[j] - c[j]) ** 2 for j in range(3)) <= 27:
                pal[3 * i:3 * i + 3] = list(c)
    for c in keep:
        pal += list(c)
    pal += pal[:3]  # index 255 repeats index 0 so nothing maps to it
    ref = Image.new('P', (1, 1))
    ref.putpalette(pal)
    out = rgb.quantize(palette=ref, dither=Image.Dither.FLOYDSTEINBERG)
    px = out.load()
    src = rgb.load()
    exact = {c: n + i for i, c in enumerate(keep)}
    W, H = out.size
    for y in range(H):
        for x in range(W):
            k = exact.get(src[x, y])
            if k is not None:
                px[x, y] = k
            elif px[x, y] == TRANSPARENT_INDEX:
                px[x, y] = 0
    if transparent:
        a = img.getchannel('A').load()
        for y in range(H):
            for x in range(W):
                if a[x, y] < threshold:
                    px[x, y] = TRANSPARENT_INDEX
        pal = pal[:3 * 255] + list(matte)
    out.putpalette(pal)
    if transparent:
        out.save(path, 'GIF', transparency=TRANSPARENT_INDEX, optimize=False)
    else:
        out.save(path, 'GIF', optimize=False)


class Output:
    def __init__(self, data):
        self.data = data
        self.written = []
        os.makedirs(os.path.join(data, 'pics', 'hidpi'), exist_ok=True)

    def _path(self, rel):
        p = os.path.join(self.data, rel)
        self.written.append(rel)
        return p

    def hidpi(self, cv, rel, transparent):
        base = os.path.splitext(os.path.basename(rel))[0]
        hi = scaled(cv.img, (cv.w * 2, cv.h * 2))
        if not transparent:
            hi = hi.convert('RGB')
        hi.save(self._path('pics/hidpi/%s@2x.png' % base), 'PNG',
                optimize=True)

    def gif(self, cv, rel, transparent=False, matte=PAPER, threshold=128,
            keep=()):
        lo = scaled(cv.img, (cv.w, cv.h))
        to_gif(lo, self._path(rel), transparent, matte, threshold, keep)
        self.hidpi(cv, rel, transparent)

    def png(self, cv, rel):
        lo = scaled(cv.img, (cv.w, cv.h))
        lo.save(self._path(rel), 'PNG', optimize=True)
        self.hidpi(cv, rel, True)


# ---------------------------------------------------------------- helpers

def obox(cv, x0, y0, x1, y1, r, fill, line=None, lw=2.0):
    """Rounded box with an outline drawn inside its edge."""
    if line is None:
        cv.fill(RRect(x0, y0, x1, y1, r), fill)
        return
    cv.fill(RRect(x0, y0, x1, y1, r), line)
    cv.fill(RRect(x0 + lw, y0 + lw, x1 - lw, y1 - lw, max(0, r - lw)), fill)


def ocircle(cv, cx, cy, r, fill, line=None, lw=2.0):
    if line is not None:
        cv.fill(Circle(cx, cy, r), line)
        r -= lw
    cv.fill(Circle(cx, cy, r), fill)


def leaf(cx, cy, length, width, deg):
    """Pointed leaf centred on (cx, cy), pointing at deg (0 = right)."""
    pts = []
    n = 16
    for i in range(n + 1):
        t = i / n
        x = -length / 2 + length * t
        y = -width / 2 * math.sin(math.pi * t) ** 0.9
        pts.append((x, y))
    for i in range(n + 1):
        t = 1 - i / n
        x = -length / 2 + length * t
        y = width / 2 * math.sin(math.pi * t) ** 0.9
        pts.append((x, y))
    pts = rotated(pts, 0, 0, deg)
    return Poly([(cx + x, cy + y) for x, y in pts])


# ---------------------------------------------------------------- icons
# Each icon is drawn in a 100 x 100 unit box; callers place it with push().

def icon_herb_sprig(cv, colour=OLIVE, leaf_colour=SAGE, seed=3):
    stem = wave(50, 96, 52, 8, 4, 0.5)
    cv.fill(Line(stem, 3.0), colour)
    rnd = random.Random(seed)
    for i, t in enumerate((0.18, 0.32, 0.46, 0.6, 0.74, 0.88)):
        x, y = stem[int(t * (len(stem) - 1))]
        side = -1 if i % 2 else 1
        ln = 30 - t * 14
        ang = -90 + side * (52 + rnd.random() * 10)
        dx = math.cos(math.radians(ang)) * ln / 2
        dy = math.sin(math.radians(ang)) * ln / 2
        c = leaf_colour if i % 2 else mix(leaf_colour, colour, 0.45)[:3]
        cv.fill(leaf(x + dx, y + dy, ln, ln * 0.45, ang), c)
    cv.fill(leaf(52, 4, 16, 8, -90), leaf_colour)


def icon_spoon(cv, colour=WOOD, dark=WOOD_D):
    pts = rotated([(46, 40), (54, 40), (53, 97), (47, 97)], 50, 50, 28)
    cv.fill(Poly(pts), colour)
    bowl = rotated([(50 + 14 * math.cos(a / 20 * 2 * math.pi),
                     22 + 20 * math.sin(a / 20 * 2 * math.pi))
                    for a in range(20)], 50, 50, 28)
    cv.fill(Poly(bowl), colour)
    inner = rotated([(50 + 9 * math.cos(a / 20 * 2 * math.pi),
                      21 + 14 * math.sin(a / 20 * 2 * math.pi))
                     for a in range(20)], 50, 50, 28)
    cv.fill(Poly(inner), dark, 0.35)


def icon_tomato(cv, body=TOMATO, dark=TOMATO_D, green=OLIVE):
    cv.fill(Ellipse(10, 22, 90, 92), Radial(38, 44, 60, TOMATO_L, dark))
    cv.fill(Ellipse(22, 34, 40, 50), WHITE, 0.35)
    for a in range(5):
        ang = -90 + a * 72
        x = 50 + math.cos(math.radians(ang)) * 11
        y = 24 + math.sin(math.radians(ang)) * 6
        cv.fill(leaf(x, y, 24, 8, ang), green)
    cv.fill(Line([(50, 24), (53, 8)], 5), green)


def icon_whisk(cv, colour=STEEL_D, handle=WOOD):
    for dx in (-16, -8, 0, 8, 16):
        # loops: ellipses squeezed to the handle
        cv.fill(Minus(Ellipse(50 - abs(dx) - 2, 4, 50 + abs(dx) + 2, 66),
                      Ellipse(50 - abs(dx) + 1, 7, 50 + abs(dx) - 1, 63)),
                colour)
    cv.fill(Line([(50, 4), (50, 66)], 3), colour)
    cv.fill(RRect(44, 60, 56, 98, 6), handle)
    cv.fill(RRect(46, 64, 50, 94, 2), WHITE, 0.3)


def icon_lemon_slice(cv, rind=HONEY, flesh=HONEY_L):
    cv.fill(Circle(50, 52, 44), rind)
    cv.fill(Circle(50, 52, 38), CREAM)
    for i in range(8):
        a0 = i * 45 + 4
        cv.fill(Chord(18, 20, 82, 84, a0, a0 + 37, pie=True), flesh)
    cv.fill(Circle(50, 52, 5), CREAM)


def icon_fork(cv, colour=STEEL_D):
    cv.fill(RRect(45, 46, 55, 98, 5), colour)
    cv.fill(RRect(34, 28, 66, 50, 10), colour)
    for x in (34, 42.5, 51, 59.5):
        cv.fill(RRect(x, 4, x + 6.5, 40, 3), colour)


def icon_wheat(cv, colour=HONEY_D, grain=HONEY):
    cv.fill(Line(wave(50, 98, 50, 20, 2, 0.5), 3), colour)
    for i in range(5):
        y = 24 + i * 12
        cv.fill(leaf(41, y + 4, 20, 10, -120), grain)
        cv.fill(leaf(59, y + 4, 20, 10, -60), grain)
    cv.fill(leaf(50, 14, 20, 10, -90), grain)


def icon_recipe_card(cv, tilt=0.0, lines=True):
    pts = rotated(rrect_pts(10, 14, 90, 86, 6), 50, 50, tilt)
    cv.shadow(Poly(pts), alpha=0.35, blur=3, dy=3)
    cv.fill(Poly(pts), WOOD_L)
    inner = rotated(rrect_pts(13, 17, 87, 83, 4), 50, 50, tilt)
    cv.fill(Poly(inner), PAPER_L)
    hdr = rotated([(18, 30), (82, 30)], 50, 50, tilt)
    cv.fill(Line(hdr, 4), TOMATO)
    if lines:
        for i, (a, b) in enumerate(((18, 70), (18, 80), (18, 60), (18, 74))):
            y = 44 + i * 10
            cv.fill(Line(rotated([(a, y), (b, y)], 50, 50, tilt), 3.4), INK2,
                    0.7)


def icon_pot(cv, body=TOMATO, steam=WHITE, steam_alpha=0.9):
    # steam
    for x, ph in ((36, 0.0), (50, 0.5), (64, 0.0)):
        pts = wave(x, 26, x + 2, 0, 3.2, 1.0 + ph * 0.3)
        cv.fill(Line(pts, 4.2), steam, steam_alpha)
    # handles
    cv.fill(RRect(2, 50, 20, 60, 5), darker(body, 0.25))
    cv.fill(RRect(80, 50, 98, 60, 5), darker(body, 0.25))
    # body
    cv.fill(RRect(12, 42, 88, 94, 14),
            HGrad((12, lighter(body, 0.25)), (45, body),
                  (88, darker(body, 0.28))))
    cv.fill(RRect(20, 52, 26, 84, 3), WHITE, 0.35)
    # a cream band with dots
    cv.fill(Rect(12, 62, 88, 70), CREAM, 0.9)
    for x in range(22, 82, 10):
        cv.fill(Circle(x, 66, 1.8), body)
    # rim and lid
    cv.fill(RRect(8, 38, 92, 47, 4.5), darker(body, 0.2))
    cv.fill(Chord(14, 20, 86, 56, 180, 360),
            VGrad((22, lighter(body, 0.2)), (40, darker(body, 0.12))))
    cv.fill(Ellipse(40, 18, 60, 28), HONEY_D)
    cv.fill(Ellipse(41, 16, 59, 25), HONEY)


def icon_open_book(cv, cover=TOMATO_D, picture=True):
    # pages as sampled curves; the book spans x -4..104, y 14..96
    def page(side):
        top, bottom = [], []
        n = 20
        for i in range(n + 1):
            t = i / n
            x = 50 + side * 50 * t
            top.append((x, 28 - 11 * math.sin(t * math.pi / 2) + 3 * t * t))
            bottom.append((x, 88 - 4 * math.sin(t * math.pi / 2)))
        return top + bottom[::-1]
    cv.shadow(RRect(-4, 26, 104, 96, 6), alpha=0.3, blur=3, dy=2)
    cv.fill(RRect(-4, 24, 104, 95, 6), cover)
    # page stack edges
    for i in (3, 2, 1):
        pg = [(x + (i if x > 50 else -i) * 0.8, y + i * 1.2)
              for x, y in page(-1)]
        cv.fill(Poly(pg), LINEN_D)
        pg = [(x + i * 0.8 if x > 50 else x, y + i * 1.2)
              for x, y in page(1)]
        cv.fill(Poly(pg), LINEN_D)
    cv.fill(Poly(page(-1)), HGrad((0, PAPER_L), (40, PAPER), (50, LINEN_D)))
    cv.fill(Poly(page(1)), HGrad((50, LINEN_D), (60, PAPER), (100, PAPER_L)))
    cv.fill(Line([(50, 28), (50, 88)], 1.2), WOOD_D, 0.5)
    # left page: a small dish picture and lines
    if picture:
        cv.fill(RRect(10, 26, 40, 50, 2), SAGE_P)
        cv.fill(Ellipse(14, 38, 36, 48), WHITE)
        cv.fill(Circle(21, 40, 5), TOMATO)
        cv.fill(Circle(30, 41, 4), OLIVE)
        for i in range(4):
            cv.fill(Line([(10, 58 + i * 7), (40 - (i % 2) * 8, 58 + i * 7)],
                         2.2), INK2, 0.55)
    else:
        for i in range(7):
            cv.fill(Line([(10, 30 + i * 7), (40 - (i % 3) * 6, 30 + i * 7)],
                         2.2), INK2, 0.55)
    cv.fill(Line([(60, 26), (84, 26)], 3), TOMATO, 0.9)
    for i in range(7):
        cv.fill(Line([(60, 36 + i * 7), (90 - (i % 3) * 7, 36 + i * 7)],
                     2.2), INK2, 0.55)
    # ribbon
    cv.fill(Poly([(54, 86), (60, 86), (60, 100), (57, 96), (54, 100)]),
            TOMATO)


def icon_fridge(cv):
    cv.fill(Ellipse(12, 93, 96, 101), (60, 40, 20), 0.18)
    # door, swung open to the right
    door = [(64, 3), (92, 11), (92, 89), (64, 97)]
    cv.fill(Poly(door), STEEL_D)
    cv.fill(Poly([(66, 6), (90, 13), (90, 87), (66, 94)]),
            HGrad((66, STEEL_L), (90, (204, 212, 214))))
    for y0 in (26, 50, 74):
        cv.fill(Poly([(68, y0 + 3), (88, y0 + 7), (88, y0 + 13),
                      (68, y0 + 12)]), WHITE, 0.9)
    cv.fill(RRect(71, 17, 76, 30, 1.5), TOMATO)
    cv.fill(RRect(78, 20, 83, 33, 1.5), OLIVE)
    cv.fill(RRect(72, 44, 77, 53, 1.5), HONEY)
    cv.fill(RRect(79, 45, 84, 55, 1.5), CREAM)
    cv.fill(RRect(73, 68, 78, 77, 1.5), SAGE)
    # body
    obox(cv, 14, 2, 66, 98, 6, STEEL_L, STEEL_D, 2.5)
    cv.fill(RRect(19, 7, 61, 93, 3),
            Radial(40, 40, 50, (255, 254, 246), (206, 224, 228)))
    # shelves
    for y in (33, 60):
        cv.fill(Rect(19, y, 61, y + 2.2), STEEL)
    # top shelf: milk, tomato, cheese
    cv.fill(RRect(23, 14, 31, 33, 2), WHITE)
    cv.fill(Rect(23, 20, 31, 26), (120, 160, 200))
    cv.fill(RRect(24, 11, 30, 15, 1), TOMATO)
    cv.fill(Circle(39, 27, 6), TOMATO)
    cv.fill(leaf(39, 21, 7, 3, -90), OLIVE)
    cv.fill(Poly([(47, 33), (59, 33), (59, 22)]), HONEY)
    cv.fill(Circle(55, 29, 1.4), HONEY_D)
    # middle shelf: lettuce, jar, eggs
    cv.fill(Circle(27, 53, 7), OLIVE)
    cv.fill(Circle(31, 50, 6), SAGE)
    cv.fill(Circle(25, 49, 5), mix(SAGE, OLIVE, 0.5)[:3])
    cv.fill(RRect(38, 45, 48, 60, 2), HONEY)
    cv.fill(RRect(37, 42, 49, 46, 1), TOMATO_D)
    cv.fill(Ellipse(51, 51, 57, 60), CREAM)
    cv.fill(Ellipse(55, 52, 61, 60), (246, 236, 214))
    # drawer with greens and a carrot
    cv.fill(leaf(32, 68, 14, 6, -60), OLIVE)
    cv.fill(leaf(38, 67, 14, 6, -100), SAGE)
    cv.fill(Poly([(44, 70), (58, 66), (47, 74)]), CARROT)
    cv.fill(RRect(21, 70, 59, 91, 3), (196, 214, 218), 0.75)
    cv.fill(RRect(34, 74, 46, 77, 1.5), STEEL_D, 0.8)


def icon_cocktail(cv):
    cv.fill(Ellipse(28, 86, 72, 96), (60, 40, 20), 0.15)
    # lemon slice on the rim, behind the glass
    cv.push(62, 0, 0.3)
    icon_lemon_slice(cv)
    cv.pop()
    # olive on a pick
    cv.fill(Line([(30, 2), (52, 36)], 2), WOOD)
    # glass bowl and drink
    cv.fill(Poly([(18, 14), (82, 14), (50, 52)]), (230, 240, 242), 0.7)
    cv.fill(Poly([(24, 20), (76, 20), (50, 48)]),
            VGrad((20, HONEY), (34, CARROT), (46, TOMATO)))
    cv.fill(Circle(45, 28, 5), OLIVE)
    cv.fill(Circle(46.5, 27, 1.6), TOMATO)
    cv.fill(Line([(18, 14), (50, 52), (82, 14)], 2.2, caps=True), STEEL_D)
    cv.fill(Line([(18, 14), (82, 14)], 2.2), STEEL_D)
    cv.fill(Line([(30, 18), (46, 36)], 2), WHITE, 0.6)
    # stem and foot
    cv.fill(Line([(50, 52), (50, 86)], 3.4), STEEL_D)
    cv.fill(Ellipse(32, 84, 68, 92), STEEL_D)
    cv.fill(Ellipse(34, 85, 66, 90), STEEL_L)


def icon_apple_chart(cv):
    # chart card
    cv.shadow(RRect(48, 10, 104, 90, 5), alpha=0.25, blur=2.5, dy=2)
    obox(cv, 48, 10, 104, 90, 5, PAPER_L, LINEN_D, 1.5)
    for y in (30, 46, 62):
        cv.fill(Line([(56, y), (98, y)], 1), LINEN_D)
    cv.fill(Line([(56, 78), (98, 78)], 2), INK2)
    for x, top, c in ((60, 54, OLIVE), (71, 40, HONEY), (82, 24, TOMATO)):
        cv.fill(RRect(x, top, x + 8, 78, 2), c)
    # apple in front
    cv.shadow(Union(Ellipse(-2, 34, 30, 92), Ellipse(18, 34, 50, 92)),
              alpha=0.25, blur=2.5, dy=2)
    cv.fill(Union(Ellipse(-2, 34, 30, 92), Ellipse(18, 34, 50, 92)),
            Radial(14, 48, 50, TOMATO_L, TOMATO_D))
    cv.fill(Ellipse(6, 44, 14, 58), WHITE, 0.45)
    cv.fill(Line([(24, 40), (27, 24)], 3.2), WOOD_D)
    cv.fill(leaf(36, 26, 20, 9, -25), OLIVE)
    cv.fill(Line([(28, 28), (44, 23)], 1), OLIVE_D, 0.6)


def icon_timer_list(cv):
    # list card
    cv.shadow(RRect(50, 6, 110, 92, 5), alpha=0.25, blur=2.5, dy=2)
    obox(cv, 50, 6, 110, 92, 5, PAPER_L, LINEN_D, 1.5)
    cv.fill(Line([(74, 18), (102, 18)], 3), TOMATO)
    for i in range(4):
        y = 32 + i * 14
        obox(cv, 73, y - 5, 83, y + 5, 2, WHITE, INK2, 1.8)
        if i < 2:
            cv.fill(Line([(75, y), (78, y + 3.5), (84, y - 6)], 3), OLIVE)
        cv.fill(Line([(88, y), (103 - (i % 2) * 5, y)], 2.2), INK2, 0.6)
    # kitchen timer in front
    cv.fill(Ellipse(8, 86, 64, 96), (60, 40, 20), 0.18)
    cv.fill(RRect(31, 14, 41, 24, 2), HONEY_D)
    cv.fill(Circle(36, 56, 34), Radial(28, 44, 44, HONEY_L, HONEY_D))
    cv.fill(Circle(36, 56, 26), CREAM)
    for i in range(12):
        a = math.radians(i * 30)
        r0 = 21 if i % 3 else 18
        cv.fill(Line([(36 + r0 * math.cos(a), 56 + r0 * math.sin(a)),
                      (36 + 24 * math.cos(a), 56 + 24 * math.sin(a))],
                     1.6 if i % 3 else 2.4), INK2)
    cv.fill(Chord(14, 34, 58, 78, -90, 30, pie=True), TOMATO, 0.25)
    cv.fill(Line([(36, 56), (36, 38)], 3), INK)
    cv.fill(Line([(36, 56), (48, 63)], 3), TOMATO_D)
    cv.fill(Circle(36, 56, 3.5), INK)


def icon_calc_carrot(cv):
    cv.shadow(RRect(6, 4, 62, 96, 7), alpha=0.25, blur=2.5, dy=2)
    obox(cv, 6, 4, 62, 96, 7,
         VGrad((4, SAGE), (96, OLIVE)), OLIVE_D, 2)
    obox(cv, 13, 11, 55, 31, 3, SAGE_P, OLIVE_D, 1.2)
    cv.fill(Text(51, 27, '250', SANS_B, 13, anchor='rs'), INK)
    for r in range(4):
        for c in range(3):
            x = 13 + c * 14.5
            y = 38 + r * 14
            col = TOMATO if (r == 3 and c == 2) else CREAM
            cv.fill(RRect(x, y, x + 12, y + 10, 2.5), col)
    # carrot leaning on the right
    a = (72, 26)
    b = (100, 94)
    dx, dy = b[0] - a[0], b[1] - a[1]
    ln = math.hypot(dx, dy)
    nx, ny = -dy / ln * 9, dx / ln * 9
    body = [(a[0] + nx, a[1] + ny), (b[0], b[1]), (a[0] - nx, a[1] - ny)]
    cv.fill(leaf(a[0] - 8, a[1] - 12, 24, 8, -110), OLIVE)
    cv.fill(leaf(a[0] + 1, a[1] - 15, 24, 8, -75), SAGE)
    cv.fill(leaf(a[0] - 12, a[1] - 4, 20, 7, -150), OLIVE_D)
    cv.fill(Union(Poly(body), Circle(a[0], a[1], 9)),
            HGrad((60, lighter(CARROT, 0.2)), (100, CARROT_D)))
    for t in (0.22, 0.42, 0.62):
        cx, cy = a[0] + dx * t, a[1] + dy * t
        w = 9 * (1 - t) * 0.8
        cv.fill(Line([(cx - nx / 9 * w, cy - ny / 9 * w),
                      (cx + nx / 9 * w * 0.2, cy + ny / 9 * w * 0.2)], 1.6),
                CARROT_D)


def icon_books(cv):
    cv.fill(Ellipse(6, 88, 96, 98), (60, 40, 20), 0.2)

    def book(x0, y0, x1, y1, colour, band):
        cv.fill(RRect(x0, y0, x1, y1, 3), darker(colour, 0.2))
        cv.fill(Rect(x1 - 12, y0 + 3, x1 - 2, y1 - 3), PAPER_L)
        for i in range(1, 4):
            yy = y0 + 3 + (y1 - y0 - 6) * i / 4
            cv.fill(Line([(x1 - 12, yy), (x1 - 2, yy)], 0.8), LINEN_D)
        cv.fill(RRect(x0, y0, x1 - 12, y1, 3),
                VGrad((y0, lighter(colour, 0.15)), (y1, colour)))
        cv.fill(Rect(x0 + 8, y0, x0 + 12, y1), band)
        cv.fill(Rect(x0 + 16, y0, x0 + 18, y1), band)
    book(8, 68, 90, 90, TOMATO, HONEY_L)
    book(16, 48, 88, 68, OLIVE, CREAM)
    book(10, 28, 82, 48, HONEY, TOMATO_D)
    # a standing bookmark ribbon
    cv.fill(Poly([(60, 12), (68, 12), (68, 32), (64, 28), (60, 32)]), TOMATO)


def icon_calendar_plate(cv):
    cv.shadow(RRect(8, 14, 92, 94, 9), alpha=0.3, blur=2.5, dy=2)
    obox(cv, 8, 14, 92, 94, 9, PAPER_L, WOOD_D, 2.5)
    cv.fill(RRect(8, 14, 92, 34, 9), TOMATO)
    cv.fill(Rect(8, 26, 92, 34), TOMATO)
    for x in (28, 72):
        cv.fill(RRect(x - 4, 6, x + 4, 24, 4), WOOD_D)
        cv.fill(RRect(x - 2, 8, x + 2, 22, 2), STEEL_L)
    for r in range(3):
        for c in range(5):
            cv.fill(Rect(16 + c * 15, 42 + r * 16, 25 + c * 15, 50 + r * 16),
                    LINEN_D, 0.6)
    # plate with fork and knife
    cv.fill(Circle(50, 64, 24), (60, 40, 20), 0.15)
    ocircle(cv, 50, 62, 23, WHITE, STEEL, 1.5)
    ocircle(cv, 50, 62, 15, (250, 248, 242), STEEL_L, 1.5)
    cv.fill(Circle(46, 60, 4.5), TOMATO)
    cv.fill(leaf(55, 62, 12, 6, -30), OLIVE)
    cv.fill(Line([(18, 46), (18, 82)], 3), STEEL_D)
    for dx in (-3, 0, 3):
        cv.fill(Line([(18 + dx, 42), (18 + dx, 54)], 1.5), STEEL_D)
    cv.fill(Poly([(81, 42), (85, 44), (84, 62), (82, 62)]), STEEL_D)
    cv.fill(Line([(82.5, 60), (82.5, 82)], 3), STEEL_D)


def icon_card_download(cv):
    cv.shadow(RRect(8, 6, 72, 88, 5), alpha=0.3, blur=2.5, dy=2)
    obox(cv, 8, 6, 72, 88, 5, PAPER_L, WOOD_L, 2)
    cv.fill(Line([(16, 20), (62, 20)], 4), TOMATO)
    for i in range(5):
        cv.fill(Line([(16, 32 + i * 10), (62 - (i % 2) * 14, 32 + i * 10)],
                     3), INK2, 0.6)
    ocircle(cv, 70, 70, 25, VGrad((45, SAGE), (95, OLIVE_D)), CREAM, 3)
    cv.fill(Line([(70, 56), (70, 78)], 6, caps=False), CREAM)
    cv.fill(Poly([(58, 73), (82, 73), (70, 86)]), CREAM)


def icon_bubbles(cv):
    def bubble(x0, y0, x1, y1, tail, fill):
        return Union(RRect(x0, y0, x1, y1, 16), Poly(tail))
    b1 = bubble(6, 10, 66, 54, [(16, 48), (30, 52), (12, 66)], HONEY)
    b2 = bubble(34, 40, 94, 82, [(84, 76), (70, 80), (90, 94)], SAGE)
    cv.shadow(b1, alpha=0.25, blur=2.5, dy=2)
    cv.fill(b1, VGrad((10, HONEY_L), (60, HONEY)))
    for x in (24, 36, 48):
        cv.fill(Circle(x, 32, 4), WOOD_D)
    cv.fill(Union(RRect(30, 36, 98, 86, 20),
                  Poly([(88, 74), (66, 82), (93, 99)])), CREAM)
    cv.shadow(b2, alpha=0.25, blur=2.5, dy=2)
    cv.fill(b2, VGrad((40, SAGE), (90, OLIVE)))
    # a fork and spoon in the second bubble
    cv.fill(Line([(56, 50), (56, 74)], 3), CREAM)
    for dx in (-3.5, 0, 3.5):
        cv.fill(Line([(56 + dx, 48), (56 + dx, 57)], 1.8), CREAM)
    cv.fill(Line([(72, 58), (72, 74)], 3), CREAM)
    cv.fill(Ellipse(67.5, 47, 76.5, 61), CREAM)


def icon_recipe_box(cv):
    cv.fill(Ellipse(6, 88, 94, 98), (60, 40, 20), 0.2)
    # open lid, tilted back
    cv.fill(Poly([(14, 40), (86, 40), (92, 16), (20, 16)]),
            VGrad((16, WOOD_D), (40, WOOD)))
    # cards with tabs
    for i, (x, c) in enumerate(((20, TOMATO), (44, OLIVE), (62, HONEY))):
        y = 24 + i * 4
        cv.fill(RRect(18 + i * 2, y, 82 - i * 2, 62, 3), PAPER_L)
        cv.fill(Rect(18 + i * 2, y + 2, 82 - i * 2, y + 3.4), LINEN_D)
        cv.fill(RRect(x, y - 6, x + 14, y + 2, 2), c)
    # front of the box
    cv.fill(RRect(10, 44, 90, 92, 6),
            VGrad((44, WOOD_L), (92, WOOD)))
    cv.fill(Rect(10, 44, 90, 48), WOOD_D, 0.6)
    for y in (58, 72, 84):
        cv.fill(Line([(16, y), (84, y - 1)], 0.9), WOOD_D, 0.3)
    obox(cv, 34, 56, 66, 72, 2, CREAM, WOOD_D, 1.2)
    cv.fill(Line([(40, 64), (60, 64)], 2), INK2, 0.6)
    cv.fill(RRect(45, 44, 55, 54, 2), HONEY_D)
    cv.fill(Circle(50, 49, 2), WOOD_DD)


# ---------------------------------------------------------------- pictures

BANNER_BG = (247, 240, 224)
BOARD = (216, 176, 128)     # the shelf behind the function buttons

MOTIFS = (icon_herb_sprig, icon_spoon, icon_tomato, icon_whisk,
          icon_lemon_slice, icon_wheat, icon_fork)


def fade_in_out(cv, a0, a1, b0, b1):
    """Keep a layer between a1 and b0, fading in from a0 and out to b1."""
    W, H = cv.img.size
    strip = Image.new('L', (W, 1))
    vals = []
    for i in range(W):
        x = (i + 0.5) / SS
        if x <= a0 or x >= b1:
            t = 0.0
        elif x < a1:
            t = (x - a0) / (a1 - a0)
        elif x > b0:
            t = (b1 - x) / (b1 - b0)
        else:
            t = 1.0
        t = t * t * (3 - 2 * t)
        vals.append(int(round(255 * t)))
    strip.putdata(vals)
    m = strip.resize((W, H), Image.NEAREST)
    cv.img.putalpha(ImageChops.multiply(cv.img.getchannel('A'), m))


def draw_banner():
    cv = Canvas(1600, 56, BANNER_BG)
    word = Text(16, 42, 'Culvora', DANCING, 40)
    cv.shadow(word, colour=TOMATO_D, alpha=0.25, blur=1.0, dy=1.2)
    cv.fill(word, TOMATO)
    x = 16 + word.width() + 14
    cv.fill(Circle(x, 33, 2.2), HONEY)
    cv.fill(Text(x + 10, 38, 'your kitchen cookbook', SERIF_I, 14), INK2)
    # a calm row of kitchen things, fading out to the flat colour
    lay = cv.layer()
    x, i = 424, 0
    while x < 1200:
        lay.push(x, 11 + (3 if i % 2 else 0), 0.32)
        MOTIFS[i % len(MOTIFS)](lay)
        lay.pop()
        if i % 2 == 0:
            lay.fill(Circle(x + 42, 30, 1.6), HONEY, 0.8)
        x += 50
        i += 1
    fade_in_out(lay, 400, 470, 640, 1180)
    cv.paste(lay, alpha=0.6)
    line = cv.layer()
    line.fill(Rect(0, 53, 1600, 55), TOMATO, 0.85)
    line.fill(Rect(0, 55, 1600, 56), HONEY, 0.6)
    fade_in_out(line, -1, 0, 500, 1180)
    cv.paste(line)
    return cv


def draw_product():
    cv = Canvas(360, 240, PAPER)
    cv.fill(Rect(0, 0, 360, 240), Radial(180, 96, 230, PAPER_L, LINEN))
    # table
    cv.fill(Rect(0, 196, 360, 240), VGrad((196, WOOD_L), (240, WOOD)))
    cv.fill(Rect(0, 196, 360, 198), WOOD_D, 0.5)
    rnd = random.Random(11)
    for j in range(6):
        y = 204 + j * 6 + rnd.random() * 2
        cv.fill(Line(wave(-4, y, 364, y + rnd.random() * 2 - 1, 1.2, 1.5),
                     0.7), WOOD_D, 0.18)
    # wordmark
    word = Text(180, 64, 'Culvora', DANCING, 60, anchor='ms')
    cv.shadow(word, colour=TOMATO_D, alpha=0.3, blur=1.2, dy=1.6)
    cv.fill(word, TOMATO)
    sub = Text(180, 88, 'the cookbook for your home kitchen', SERIF_I, 13,
               anchor='ms')
    cv.fill(sub, INK2)
    half = sub.width() / 2
    for s in (-1, 1):
        x0 = 180 + s * (half + 8)
        cv.fill(Line([(x0, 84), (x0 + s * 26, 84)], 1.2), HONEY_D, 0.8)
        cv.fill(Circle(x0 + s * 30, 84, 1.8), HONEY_D, 0.8)
    # illustration: cookbook, herbs, steaming pot
    cv.push(26, 118, 1.15)
    icon_open_book(cv)
    cv.pop()
    cv.push(140, 108, 0.62)
    icon_herb_sprig(cv)
    cv.pop()
    cv.push(152, 128, 0.54)
    icon_herb_sprig(cv, seed=8)
    cv.pop()
    clay = (196, 104, 68)
    cv.shadow(Ellipse(156, 196, 196, 202), alpha=0.3, blur=1.5, dy=0)
    cv.fill(Poly([(158, 176), (194, 176), (189, 200), (163, 200)]),
            HGrad((158, lighter(clay, 0.15)), (194, darker(clay, 0.2))))
    cv.fill(RRect(155, 170, 197, 179, 2),
            HGrad((155, lighter(clay, 0.2)), (197, darker(clay, 0.15))))
    cv.shadow(Ellipse(196, 198, 326, 212), alpha=0.3, blur=3, dy=0)
    cv.push(196, 92, 1.3)
    icon_pot(cv, steam=(176, 160, 140), steam_alpha=0.55)
    cv.pop()
    cv.push(294, 176, 0.26)
    icon_tomato(cv)
    cv.pop()
    cv.push(312, 182, 0.2)
    icon_tomato(cv)
    cv.pop()
    # frame
    cv.fill(Minus(Rect(0, 0, 360, 240), Rect(1, 1, 359, 239)), WOOD_D, 0.7)
    return cv


def linen_tile(px, seed=7):
    """A seamless linen weave of px x px pixels (RGB)."""
    rnd = random.Random(seed)
    rows = [rnd.gauss(0, 1) for _ in range(px)]
    cols = [rnd.gauss(0, 1) for _ in range(px)]
    # slubs: slow changes of a thread's weight along its length
    slub_r = [rnd.gauss(0, 1) for _ in range(px)]
    slub_c = [rnd.gauss(0, 1) for _ in range(px)]
    noise = rnd.randbytes(px * px)
    data = bytearray(px * px)
    for y in range(px):
        ry = rows[y]
        sy = slub_r[y]
        for x in range(px):
            over = ((x >> 2) + (y >> 2)) & 1
            v = 128.0
            if over:
                v += 22 * ry + 8 * math.sin(2 * math.pi * (x / px * 3 + sy))
            else:
                v += 22 * cols[x] + 8 * math.sin(
                    2 * math.pi * (y / px * 3 + slub_c[x]))
            v += (noise[y * px + x] - 128) * 0.12
            v += 8 if over else -8
            data[y * px + x] = max(0, min(255, int(v)))
    m = Image.frombytes('L', (px, px), bytes(data))
    big = Image.new('L', (px * 3, px * 3))
    for j in range(3):
        for i in range(3):
            big.paste(m, (i * px, j * px))
    big = big.filter(ImageFilter.GaussianBlur(0.7))
    m = big.crop((px, px, 2 * px, 2 * px))
    dark = Image.new('RGB', (px, px), (196, 178, 146))
    light = Image.new('RGB', (px, px), (246, 237, 216))
    return Image.composite(light, dark, m), big


def draw_background(out):
    hi, _ = linen_tile(512)
    big = Image.new('RGB', (512 * 3, 512 * 3))
    for j in range(3):
        for i in range(3):
            big.paste(hi, (i * 512, j * 512))
    lo = big.resize((768, 768), Image.LANCZOS).crop((256, 256, 512, 512))
    to_gif(lo.convert('RGBA'), out._path('bak.gif'))
    hi.save(out._path('pics/hidpi/bak@2x.png'), 'PNG', optimize=True)


TILES = (
    (30, 95, "What's in the fridge?", icon_fridge, SAGE_P),
    (230, 95, 'Drinks', icon_cocktail, TOMATO_P),
    (430, 95, 'Nutrition', icon_apple_chart, HONEY_P),
    (30, 245, 'Time & type', icon_timer_list, HONEY_P),
    (230, 245, 'Recipes', icon_open_book, SAGE_P),
    (430, 245, 'Calorie calculator', icon_calc_carrot, TOMATO_P),
)

SLOT_X = tuple(110 + i * 90 for i in range(5))
SLOT_Y = 402


def draw_menu():
    cv = Canvas(640, 480, PAPER)
    cv.fill(Rect(0, 80, 640, 480), Radial(320, 280, 420, PAPER_L, PAPER))
    # title band: a gingham tablecloth with a scalloped hem
    band = VGrad((0, TOMATO_L), (80, TOMATO))
    cv.fill(Rect(0, 0, 640, 80), band)
    check = cv.layer()
    for x in range(0, 640, 20):
        check.fill(Rect(x, 0, x + 10, 80), WHITE, 0.08)
    for y in range(0, 80, 20):
        check.fill(Rect(0, y, 640, y + 10), WHITE, 0.08)
    cv.paste(check)
    hem = Union(*[Circle(x, 80, 8) for x in range(8, 640, 16)])
    cv.shadow(hem, alpha=0.2, blur=1.5, dy=1.5)
    cv.fill(hem, TOMATO)
    cv.fill(Rect(0, 76, 640, 80), TOMATO)
    word = Text(320, 50, 'Culvora', DANCING, 48, anchor='ms')
    cv.shadow(word, colour=TOMATO_D, alpha=0.6, blur=1.2, dy=1.8)
    cv.fill(word, CREAM)
    sub = Text(320, 70, 'Main menu', SERIF_I, 14, anchor='ms')
    cv.fill(sub, HONEY_P)
    half = sub.width() / 2
    for s in (-1, 1):
        x0 = 320 + s * (half + 8)
        cv.fill(Line([(x0, 66), (x0 + s * 30, 66)], 1.2), HONEY_P, 0.8)
    # kitchen things at both ends of the band
    for x, f in ((40, icon_whisk), (84, icon_spoon), (512, icon_fork),
                 (556, icon_herb_sprig)):
        lay = cv.layer()
        lay.push(x, 10, 0.6)
        f(lay, CREAM) if f is not icon_herb_sprig else f(lay, CREAM, CREAM)
        lay.pop()
        cv.paste(lay, alpha=0.35)
    # the six picture tiles
    for x, y, caption, icon, tint in TILES:
        cv.fill(RRect(x, y, x + 180, y + 130, 12), LINEN_D)
        cv.fill(RRect(x + 1.5, y + 1.5, x + 178.5, y + 128.5, 10.5),
                VGrad((y, PAPER_L), (y + 130, CREAM)))
        cv.fill(RRect(x + 7, y + 7, x + 173, y + 97, 8),
                VGrad((y, lighter(tint, 0.35)), (y + 97, tint)))
        cv.push(x + 90 - 41, y + 11, 0.82)
        icon(cv)
        cv.pop()
        cv.fill(Text(x + 90, y + 117, caption, SANS_B, 13, anchor='ms'), INK)
    # the shelf behind the function buttons: a cutting board
    board = Union(RRect(88, 396, 556, 469, 14), RRect(540, 414, 612, 451, 18))
    cv.shadow(board, alpha=0.3, blur=2.5, dy=2)
    cv.fill(board, WOOD_D)
    def board_face(dy):
        return Union(RRect(89.5, 397.5 + dy, 554.5, 467.5, 12.5),
                     RRect(541.5, 415.5 + dy, 610.5, 449.5, 16.5))
    inner = board_face(0)
    cv.fill(inner, BOARD)
    grain = cv.layer()
    rnd = random.Random(5)
    for j in range(9):
        y = 400 + j * 8 + rnd.random() * 3
        grain.fill(Line(wave(80, y, 620, y + rnd.random() * 3 - 1.5, 1.5,
                             1 + rnd.random()), 0.8), WOOD_D)
    cv.paste(grain, clip=inner, alpha=0.08)
    cv.fill(Minus(inner, board_face(1.6)), WHITE, 0.35)
    cv.fill(Circle(594, 432.5, 7), WOOD_D)
    cv.fill(Circle(594, 433.5, 5.8), PAPER)
    return cv


def draw_button(icon, hi):
    cv = Canvas(60, 60)
    face = RRect(5, 5, 55, 55, 12)
    if hi:
        cv.glow(RRect(3, 3, 57, 57, 14), (255, 236, 150), alpha=1.0, blur=2.0)
        cv.glow(RRect(4, 4, 56, 56, 13), (255, 244, 190), alpha=1.0, blur=1.0)
        cv.fill(RRect(4, 4, 56, 56, 13), HONEY_D)
        cv.fill(RRect(5.5, 5.5, 54.5, 54.5, 11.5),
                VGrad((5, WHITE), (55, HONEY_P)))
        lift = -1.0
    else:
        cv.shadow(face, colour=WOOD_DD, alpha=0.45, blur=1.2, dy=1.5)
        cv.fill(face, mix(WOOD_D, BOARD, 0.3))
        cv.fill(RRect(6.2, 6.2, 53.8, 53.8, 10.8),
                VGrad((5, PAPER_L), (55, LINEN)))
        lift = 0.0
    cv.push(10, 10 + lift, 0.4)
    icon(cv)
    cv.pop()
    return cv


BUTTONS = (icon_books, icon_calendar_plate, icon_card_download,
           icon_bubbles, icon_recipe_box)


def draw_recipe_paper():
    cv = Canvas(660, 440, PAPER)
    # top edge and header rule
    cv.fill(Rect(0, 0, 660, 4), TOMATO)
    cv.fill(Rect(0, 4, 660, 5), TOMATO_D, 0.3)
    cv.fill(Rect(18, 38, 642, 39), TOMATO, 0.35)
    cv.fill(Rect(18, 374, 642, 375), LINEN_D)
    # margin lines
    for x in (8, 11):
        cv.fill(Rect(x, 5, x + 1, 414), TOMATO, 0.4)
    # dog-ear at the top right
    cv.fill(Poly([(634, 5), (660, 5), (660, 31)]), LINEN)
    cv.shadow(Poly([(634, 5), (660, 31), (634, 31)]), alpha=0.25, blur=1,
              dy=1)
    cv.fill(Poly([(634, 5), (660, 31), (634, 31)]),
            VGrad((5, LINEN_D), (31, LINEN)))
    # gingham hem along the bottom edge
    hem = cv.layer()
    hem.fill(Rect(0, 418, 660, 440), (250, 230, 222))
    for x in range(0, 660, 12):
        hem.fill(Rect(x, 418, x + 6, 440), TOMATO, 0.28)
    for y in range(418, 440, 12):
        hem.fill(Rect(0, y + 3, 660, y + 9), TOMATO, 0.28)
    cv.paste(hem)
    cv.fill(Rect(0, 416, 660, 418), TOMATO, 0.8)
    # outline of the card
    cv.fill(Minus(Rect(0, 0, 660, 440), Rect(1, 1, 659, 439)), WOOD_L, 0.8)
    return cv


PAGE_EDGE = (228, 216, 192)
PAGE = (252, 248, 237)      # the open book's pages


def draw_open_book():
    cv = Canvas(720, 470, WOOD)
    cv.fill(Rect(0, 0, 720, 470), VGrad((0, WOOD_L), (470, WOOD)))
    grain = cv.layer()
    rnd = random.Random(9)
    for j in range(40):
        y = j * 12 + rnd.random() * 6
        grain.fill(Line(wave(-10, y, 730, y + rnd.random() * 6 - 3,
                             2 + rnd.random() * 2, 1 + rnd.random()),
                        1 + rnd.random()), WOOD_D)
    for y in (118, 236, 354):
        grain.fill(Rect(0, y, 720, y + 1.5), WOOD_DD)
    cv.paste(grain, alpha=0.22)
    # cover
    cover = RRect(10, 9, 710, 461, 10)
    cv.shadow(cover, colour=(40, 24, 12), alpha=0.55, blur=5, dy=4)
    cv.fill(cover, VGrad((9, (150, 52, 36)), (461, (118, 36, 26))))
    cv.fill(Minus(cover, RRect(12, 11, 708, 459, 8)), (190, 90, 64), 0.6)
    # stacks of pages under the open pages
    for i in (4, 3, 2, 1):
        d = i * 1.6
        cv.fill(RRect(28 - d, 22 + d * 0.4, 352, 448 + d, 3),
                mix(PAGE_EDGE, WOOD_D, 0.12 * i / 4))
        cv.fill(RRect(368, 22 + d * 0.4, 692 + d, 448 + d, 3),
                mix(PAGE_EDGE, WOOD_D, 0.12 * i / 4))
        cv.fill(Minus(RRect(28 - d, 22 + d * 0.4, 352, 448 + d, 3),
                      RRect(28 - d + 0.6, 22 + d * 0.4, 352, 448 + d - 0.6,
                            3)), WOOD_D, 0.25)
        cv.fill(Minus(RRect(368, 22 + d * 0.4, 692 + d, 448 + d, 3),
                      RRect(368, 22 + d * 0.4, 692 + d - 0.6, 448 + d - 0.6,
                            3)), WOOD_D, 0.25)
    # the two pages
    shade = (222, 208, 180)
    cv.fill(Union(RRect(28, 22, 340, 448, 3), Rect(300, 22, 352, 448)),
            HGrad((296, PAGE), (338, (243, 235, 216)), (352, shade)))
    cv.fill(Union(RRect(380, 22, 692, 448, 3), Rect(368, 22, 420, 448)),
            HGrad((368, shade), (382, (243, 235, 216)), (424, PAGE)))
    # the spine between them
    cv.fill(Rect(352, 22, 368, 448),
            HGrad((352, shade), (358, (170, 140, 108)), (360, (140, 110, 84)),
                  (362, (170, 140, 108)), (368, shade)))
    # ribbon bookmark
    rib = Poly([(373, 444), (381, 444), (381, 468), (377, 463), (373, 468)])
    cv.shadow(rib, alpha=0.3, blur=1, dy=1)
    cv.fill(rib, HGrad((373, TOMATO), (381, TOMATO_D)))
    return cv


def draw_drag_icon(kind):
    cv = Canvas(32, 32)
    if kind == 'nodrop':
        cv.fill(Circle(16, 16, 14), TOMATO_D)
        cv.fill(Circle(16, 16, 10), WHITE)
        cv.fill(Line([(9, 9), (23, 23)], 4.2, caps=False), TOMATO_D)
        cv.fill(Minus(Circle(16, 16, 13.2), Circle(16, 16, 10.8)), TOMATO)
        return cv
    cv.push(0, 1, 0.31)
    icon_recipe_card(cv, tilt=-8)
    cv.pop()
    if kind == 'drop':
        cv.fill(Circle(23, 23, 8.5), CREAM)
        cv.fill(Circle(23, 23, 7.2), OLIVE)
        cv.fill(Line([(19.4, 23.2), (22, 26), (26.6, 20)], 2.2), WHITE)
    return cv


def draw_app_icon(size):
    cv = Canvas(size, size)
    cv.push(0, 0, size / 256)
    tile = RRect(10, 10, 246, 246, 50)
    cv.shadow(tile, colour=(30, 30, 20), alpha=0.35, blur=4, dy=3)
    cv.fill(tile, VGrad((10, (176, 196, 128)), (246, OLIVE)))
    cv.fill(Minus(tile, RRect(12, 12, 244, 244, 48)), WHITE, 0.25)
    cv.fill(Circle(128, 150, 88), WHITE, 0.12)
    cv.fill(Ellipse(44, 206, 212, 226), (40, 50, 20), 0.25)
    cv.push(38, 44, 1.8)
    icon_pot(cv, steam=WHITE, steam_alpha=0.95)
    cv.pop()
    cv.pop()
    return cv


def main():
    data = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), '..', 'data')
    out = Output(os.path.normpath(data))
    out.gif(draw_banner(), 'banner.gif', keep=(BANNER_BG,))
    out.gif(draw_product(), 'tavendi3.gif')
    draw_background(out)
    out.gif(draw_menu(), 'tavendi1.gif', keep=(BOARD,))
    for i, icon in enumerate(BUTTONS):
        for hi in (False, True):
            out.gif(draw_button(icon, hi),
                    'pics/cmd%d%s.gif' % (i, '_hi' if hi else ''),
                    transparent=True, matte=BOARD, threshold=10)
    out.gif(draw_recipe_paper(), 'recept.gif', keep=(PAPER,))
    out.gif(draw_open_book(), 'boken.gif', keep=(PAGE,))
    for kind in ('drag', 'drop', 'nodrop'):
        out.gif(draw_drag_icon(kind), 'pics/%s.gif' % kind, transparent=True,
                matte=PAPER_L)
    out.png(draw_app_icon(256), 'pics/culvora.png')
    out.png(draw_app_icon(48), 'pics/culvora-48.png')
    for rel in out.written:
        print(rel)


if __name__ == '__main__':
    main()
