"""The drawing library behind Culvora's pictures.

A canvas that draws at SS times the final size (shapes, gradients, text,
shadows, layers, a push/pop transform) and the output that scales it down and
writes the GIFs, the HiDPI PNGs and the icon PNGs.  Nothing here knows what a
picture shows; tools/artwork/pictures.py draws them.

Every result is deterministic: no unseeded randomness, no timestamps, so the
same drawing writes the same bytes on every run.
"""

import math
import os
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


def to_gif(img, path, matte, transparent=False, threshold=128, keep=()):
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
    """Writes pictures into a data folder and remembers what it wrote.

    matte is the colour semi-transparent pixels of a GIF are laid on unless a
    picture names its own."""

    def __init__(self, data, matte):
        self.data = data
        self.matte = matte
        self.written = []
        os.makedirs(os.path.join(data, 'pics', 'hidpi'), exist_ok=True)

    def path(self, rel):
        """The file to write rel to, recorded as written."""
        p = os.path.join(self.data, rel)
        self.written.append(rel)
        return p

    def hidpi(self, cv, rel, transparent):
        base = os.path.splitext(os.path.basename(rel))[0]
        hi = scaled(cv.img, (cv.w * 2, cv.h * 2))
        if not transparent:
            hi = hi.convert('RGB')
        hi.save(self.path('pics/hidpi/%s@2x.png' % base), 'PNG',
                optimize=True)

    def gif(self, cv, rel, transparent=False, matte=None, threshold=128,
            keep=()):
        lo = scaled(cv.img, (cv.w, cv.h))
        to_gif(lo, self.path(rel), self.matte if matte is None else matte,
               transparent, threshold, keep)
        self.hidpi(cv, rel, transparent)

    def png(self, cv, rel):
        lo = scaled(cv.img, (cv.w, cv.h))
        lo.save(self.path(rel), 'PNG', optimize=True)
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
