"""The fifteen glass pictures of the drinks windows.

Each glass stands on a bar counter in front of a warmly lit wall, drawn as a
clear line drawing: a dark outline, a pale glass tint, the drink it is known
for and a garnish a home bartender expects (an olive on a pick, a lemon wheel,
ice, a cherry).  The pictures are 24-bit BMPs named as the drinks file's glass
table names them, with the usual HiDPI PNG beside each.
"""

import math

from .drawing import (
    Arc, Canvas, Chord, Circle, Ellipse, Line, Poly, Radial, Rect, SANS_B, Text,
    Union, VGrad, darker, lighter, mix, scaled)
from .palette import (
    CREAM, HONEY, HONEY_D, INK, LINEN, OLIVE, OLIVE_D, TOMATO, WHITE, WOOD,
    WOOD_D, WOOD_DD, WOOD_L)

W, H = 120, 160
CX = 60
BASE = 139          # where a glass stands on the counter
COUNTER = 126       # the back edge of the counter

GLASS_TINT = (236, 244, 246)
OUTLINE = darker(INK, 0.1)
STROKE = 1.4

WALL_TOP = (252, 244, 226)
WALL_LOW = (238, 216, 178)

AMBER = (214, 142, 44)
WHISKY = (190, 108, 34)
BEER = (232, 168, 40)
RED_WINE = (128, 20, 42)
CHAMPAGNE = (242, 216, 130)
COFFEE = (92, 52, 28)
LEMONADE = (246, 232, 150)
LIME = (132, 178, 60)
LIME_D = (86, 130, 34)
CHERRY = (178, 18, 36)
PUNCH = (214, 62, 74)
MINT_LIQUEUR = (74, 168, 96)


# ---------------------------------------------------------------- profiles

def spline(knots, n=10):
    """Catmull-Rom through (w, y) knots; a knot given twice makes a corner."""
    pts = []
    k = [knots[0]] + list(knots) + [knots[-1]]
    for i in range(1, len(k) - 2):
        p0, p1, p2, p3 = k[i - 1], k[i], k[i + 1], k[i + 2]
        if p1 == p2:
            continue
        for j in range(n):
            t = j / n
            t2, t3 = t * t, t * t * t
            pts.append(tuple(
                0.5 * (2 * p1[c] + (-p0[c] + p2[c]) * t +
                       (2 * p0[c] - 5 * p1[c] + 4 * p2[c] - p3[c]) * t2 +
                       (-p0[c] + 3 * p1[c] - 3 * p2[c] + p3[c]) * t3)
                for c in (0, 1)))
    pts.append(tuple(knots[-1]))
    # repeated points would put spikes into the joints of a drawn line
    out = [pts[0]]
    for p in pts[1:]:
        if math.hypot(p[0] - out[-1][0], p[1] - out[-1][1]) > 1e-6:
            out.append(p)
    return out


class Glass:
    """A round glass seen slightly from above, given by its outer profile:
    (half-width, y) knots from the rim down to where it stands."""

    def __init__(self, knots, wall=1.6, bottom=None, foot=None):
        self.profile = spline(knots)
        self.rim_y = knots[0][1]
        self.rim_w = knots[0][0]
        self.wall = wall
        # the inside ends here: the bowl's bottom, or the top of a heavy base
        self.bottom = bottom if bottom is not None else knots[-1][1] - wall
        self.foot = foot   # half-width of a stemmed glass's round foot

    def width_at(self, y):
        pts = self.profile
        for (w0, y0), (w1, y1) in zip(pts, pts[1:]):
            if y0 <= y <= y1 and y1 > y0:
                return w0 + (w1 - w0) * (y - y0) / (y1 - y0)
        return pts[-1][0] if y > pts[-1][1] else pts[0][0]

    def inner_at(self, y):
        return max(0.0, self.width_at(y) - self.wall)

    def outline_pts(self, side):
        return [(CX + side * w, y) for w, y in self.profile]

    def silhouette(self):
        right = self.outline_pts(1)
        left = self.outline_pts(-1)
        return Poly(right + left[::-1])

    def inside(self, top):
        """The inside of the glass from the level `top` down, as a shape."""
        pts = []
        y = top
        while y < self.bottom:
            pts.append((CX + self.inner_at(y), y))
            y += 0.5
        wb = self.inner_at(self.bottom)
        e = max(0.8, wb * 0.16)
        # a round bottom seen from above
        for i in range(17):
            a = math.pi * i / 16
            pts.append((CX + wb * math.cos(a), self.bottom + e * math.sin(a)))
        y = self.bottom
        while y >= top:
            pts.append((CX - self.inner_at(y), y))
            y -= 0.5
        return Poly(pts)

    def ellipse_at(self, y, w):
        e = w * 0.17
        return Ellipse(CX - w, y - e, CX + w, y + e)


# ---------------------------------------------------------------- drawing

def background(cv):
    cv.fill(Rect(0, 0, W, COUNTER), VGrad((0, WALL_TOP), (COUNTER, WALL_LOW)))
    cv.fill(Circle(CX, 70, 62), Radial(CX, 70, 62, (255, 250, 236, 230),
                                       (255, 250, 236, 0)))
    # the counter: its top in perspective, then its front edge
    cv.fill(Rect(0, COUNTER, W, 148),
            VGrad((COUNTER, WOOD_L), (148, mix(WOOD_L, WOOD, 0.55))))
    for y, a in ((131, 0.10), (137, 0.08), (143, 0.10)):
        cv.fill(Line([(0, y), (W, y + 0.6)], 0.6), WOOD_D, a)
    cv.fill(Rect(0, COUNTER, W, COUNTER + 0.8), WOOD_DD, 0.35)
    cv.fill(Rect(0, 148, W, H), VGrad((148, WOOD), (H, WOOD_D)))
    cv.fill(Rect(0, 148, W, 149), lighter(WOOD_L, 0.35))
    cv.fill(Rect(0, 149, W, 150.5), WOOD_DD, 0.25)


def counter_shadow(cv, w):
    cv.shadow(Ellipse(CX - w - 3, BASE - 3, CX + w + 6, BASE + 4),
              colour=WOOD_DD, alpha=0.45, blur=1.6, dx=2, dy=0)


def glass_body(cv, g):
    cv.fill(g.silhouette(), GLASS_TINT, 0.42)


def liquid(cv, g, level, colour, top=None, alpha=0.92):
    """The drink from `level` down, its surface an ellipse of a lighter
    colour (or `top`)."""
    shape = g.inside(level)
    cv.fill(shape, VGrad((level, lighter(colour, 0.12)),
                         (g.bottom, darker(colour, 0.18))), alpha)
    wi = g.inner_at(level)
    cv.fill(g.ellipse_at(level, wi), top or lighter(colour, 0.35), alpha)


def outline(cv, g, stem_from=None):
    """The glass's edges: both sides, the rim and the base or foot."""
    for side in (1, -1):
        cv.fill(Line(g.outline_pts(side), STROKE), OUTLINE)
    e = g.rim_w * 0.17
    cv.fill(Arc(CX - g.rim_w, g.rim_y - e, CX + g.rim_w, g.rim_y + e,
                0, 360, STROKE * 0.9), OUTLINE)
    if g.foot:
        fw = g.foot
        foot = Ellipse(CX - fw, BASE - 4.5, CX + fw, BASE + 1.5)
        cv.fill(foot, GLASS_TINT, 0.9)
        cv.fill(Arc(CX - fw, BASE - 4.5, CX + fw, BASE + 1.5, 0, 360,
                    STROKE), OUTLINE)
        # the stem flows into the foot
        cv.fill(Poly([(CX - 2.2, BASE - 7), (CX + 2.2, BASE - 7),
                      (CX + 5, BASE - 3), (CX - 5, BASE - 3)]), GLASS_TINT)
        for side in (1, -1):
            cv.fill(Line([(CX + side * 1.6, BASE - 8),
                          (CX + side * 5.5, BASE - 3.2)], STROKE), OUTLINE)
    else:
        wb = g.profile[-1][0]
        e = wb * 0.17
        cv.fill(Arc(CX - wb, BASE - e, CX + wb, BASE + e, 0, 180, STROKE),
                OUTLINE)


def heavy_base(cv, g):
    """The thick glass bottom of a tumbler."""
    wb = g.profile[-1][0] - g.wall
    cv.fill(Poly([(CX - wb, g.bottom), (CX + wb, g.bottom),
                  (CX + wb, BASE), (CX - wb, BASE)]), WHITE, 0.35)
    cv.fill(g.ellipse_at(g.bottom, wb), WHITE, 0.25)
    cv.fill(Arc(CX - wb, g.bottom - wb * 0.17, CX + wb, g.bottom + wb * 0.17,
                0, 180, 0.8), OUTLINE, 0.45)


def shine(cv, g, y0, y1, side=-1, inset=0.55, w=2.2, alpha=0.85):
    """The light's reflection down one side of the glass."""
    pts = []
    y = y0
    while y <= y1:
        pts.append((CX + side * g.width_at(y) * inset, y))
        y += 1
    cv.fill(Line(pts, w), WHITE, alpha)
    cv.fill(Line(pts[len(pts) // 3:], w * 0.5), WHITE, alpha)


def bubbles(cv, spots, colour=WHITE, alpha=0.75):
    for x, y, r in spots:
        cv.fill(Circle(x, y, r), colour, alpha)


def ice(cv, x, y, s, deg):
    """An ice cube, a rounded square tilted by deg."""
    a = math.radians(deg)
    c, sn = math.cos(a), math.sin(a)
    pts = []
    for px, py in ((-1, -1), (1, -1), (1, 1), (-1, 1)):
        pts.append((x + (px * c - py * sn) * s, y + (px * sn + py * c) * s))
    cv.fill(Poly(pts), (236, 246, 250), 0.55)
    cv.fill(Line(pts + pts[:1], 0.8), WHITE, 0.9)
    cv.fill(Line(pts[:2], 0.9), (150, 180, 196), 0.45)


def citrus_wheel(cv, x, y, r, rind, flesh):
    cv.fill(Circle(x, y, r), rind)
    cv.fill(Circle(x, y, r * 0.84), lighter(flesh, 0.55))
    cv.fill(Circle(x, y, r * 0.74), flesh)
    for i in range(8):
        a = math.radians(i * 45 + 22.5)
        cv.fill(Line([(x, y), (x + r * 0.74 * math.cos(a),
                               y + r * 0.74 * math.sin(a))], 0.7),
                lighter(flesh, 0.7))
    cv.fill(Circle(x, y, r * 0.12), lighter(flesh, 0.7))


def citrus_on_rim(cv, x, y, r, rind, flesh):
    """A wheel cut to sit on the rim: the part above the rim shows."""
    cv.fill(Circle(x, y, r), rind)
    cv.fill(Circle(x, y, r * 0.84), lighter(flesh, 0.55))
    cv.fill(Circle(x, y, r * 0.74), flesh)
    for i in range(8):
        a = math.radians(i * 45)
        cv.fill(Line([(x, y), (x + r * 0.74 * math.cos(a),
                               y + r * 0.74 * math.sin(a))], 0.7),
                lighter(flesh, 0.7))


def cherry(cv, x, y, r=4.2, stem=(6, -12)):
    cv.fill(Line([(x, y - r * 0.6), (x + stem[0] * 0.4, y + stem[1] * 0.6),
                   (x + stem[0], y + stem[1])], 1.0), OLIVE_D)
    cv.fill(Circle(x, y, r), Radial(x - r * 0.4, y - r * 0.4, r * 1.4,
                                    lighter(CHERRY, 0.3), darker(CHERRY, 0.3)))
    cv.fill(Circle(x - r * 0.35, y - r * 0.35, r * 0.28), WHITE, 0.8)


def straw(cv, pts, colour=TOMATO):
    cv.fill(Line(pts, 3.2), darker(colour, 0.15))
    cv.fill(Line(pts, 2.0), colour)
    cv.fill(Line(pts, 0.7), WHITE, 0.6)


def steam(cv, x, y):
    for dx, h in ((-7, 20), (0, 26), (7, 20)):
        pts = []
        for i in range(21):
            t = i / 20
            pts.append((x + dx + 2.6 * math.sin(t * 2 * math.pi + dx),
                        y - t * h))
        cv.fill(Line(pts, 1.8), WHITE, 0.85)


# ---------------------------------------------------------------- glasses

def draw_unknown():
    """'(Unknown)': a plain tumbler with a question mark in it."""
    cv = Canvas(W, H)
    background(cv)
    g = Glass([(20, 56), (20, 56), (17, BASE), (17, BASE)], wall=2.2,
              bottom=BASE - 7)
    counter_shadow(cv, 17)
    glass_body(cv, g)
    heavy_base(cv, g)
    cv.fill(Text(CX, 112, '?', SANS_B, 46, anchor='ms'), HONEY_D, 0.85)
    shine(cv, g, 62, 120)
    outline(cv, g)
    return cv


def draw_beer():
    """A pint of lager with a head of foam."""
    cv = Canvas(W, H)
    background(cv)
    g = Glass([(22, 20), (22, 20), (20.5, 70), (16, BASE), (16, BASE)],
              wall=2.0, bottom=BASE - 8)
    counter_shadow(cv, 16)
    glass_body(cv, g)
    liquid(cv, g, 38, BEER, top=CREAM)
    heavy_base(cv, g)
    bubbles(cv, [(52, 60, 0.9), (55, 84, 0.8), (66, 72, 1.0), (70, 98, 0.8),
                 (58, 108, 0.9), (63, 120, 0.7), (48, 96, 0.7),
                 (72, 52, 0.7)], alpha=0.8)
    # the foam: from the drink up over the rim
    foam = Union(Rect(CX - 20.2, 24, CX + 20.2, 40),
                 Ellipse(CX - 20.2, 35, CX + 20.2, 42),
                 Circle(CX - 13, 19, 8), Circle(CX - 2, 16, 9.5),
                 Circle(CX + 11, 18.5, 8.5), Circle(CX + 17, 23, 5))
    cv.fill(foam, VGrad((10, WHITE), (40, (250, 240, 214))))
    for x, y, r in ((CX - 9, 28, 1.2), (CX + 6, 32, 1.0), (CX - 1, 24, 0.9),
                    (CX + 13, 27, 1.1), (CX - 16, 33, 0.9)):
        cv.fill(Circle(x, y, r), (232, 214, 170), 0.7)
    # foam running down the outside
    cv.fill(Line([(CX + 20.5, 22), (CX + 21, 30), (CX + 20.8, 34)], 3.2),
            WHITE)
    shine(cv, g, 44, 126)
    for side in (1, -1):
        cv.fill(Line(g.outline_pts(side), STROKE), OUTLINE)
    e = 16 * 0.17
    cv.fill(Arc(CX - 16, BASE - e, CX + 16, BASE + e, 0, 180, STROKE),
            OUTLINE)
    return cv


def draw_brandy():
    """A brandy snifter with a warm finger of cognac."""
    cv = Canvas(W, H)
    background(cv)
    g = Glass([(17, 50), (22, 58), (31, 80), (30, 100), (20, 116),
               (5, 123), (2.2, 126), (1.8, 131), (1.8, 132)],
              bottom=121, foot=21)
    counter_shadow(cv, 21)
    glass_body(cv, g)
    liquid(cv, g, 102, AMBER)
    shine(cv, g, 62, 104, inset=0.62, w=2.6)
    outline(cv, g)
    return cv


def draw_champagne():
    """A flute with bubbles rising."""
    cv = Canvas(W, H)
    background(cv)
    g = Glass([(12, 14), (12.5, 40), (11.5, 70), (7, 90), (2, 97),
               (1.8, 102), (1.8, 132)], bottom=95, foot=17)
    counter_shadow(cv, 17)
    glass_body(cv, g)
    liquid(cv, g, 30, CHAMPAGNE, alpha=0.9)
    bubbles(cv, [(CX + 1, 90, 0.7), (CX - 1, 84, 0.8), (CX + 2, 76, 0.9),
                 (CX - 3, 68, 0.8), (CX + 4, 60, 1.0), (CX - 2, 52, 0.9),
                 (CX + 3, 44, 1.1), (CX - 5, 40, 0.9), (CX + 6, 36, 0.9),
                 (CX - 1, 34, 1.0)], alpha=0.95)
    shine(cv, g, 20, 80, inset=0.5, w=1.8)
    outline(cv, g)
    return cv


def draw_cocktail():
    """A cocktail glass with a dry martini and an olive on a pick."""
    cv = Canvas(W, H)
    background(cv)
    g = Glass([(36, 44), (36, 44), (3, 88), (1.8, 92), (1.8, 132)],
              wall=1.6, bottom=86, foot=21)
    counter_shadow(cv, 21)
    glass_body(cv, g)
    liquid(cv, g, 52, (226, 232, 196), alpha=0.85)
    # the pick and the olive
    cv.fill(Line([(CX + 22, 30), (CX - 2, 74)], 1.4), WOOD_D)
    cv.fill(Circle(CX + 4.5, 63, 6), Radial(CX + 2.5, 61, 8,
                                            lighter(OLIVE, 0.25),
                                            darker(OLIVE, 0.2)))
    cv.fill(Circle(CX + 6.5, 61.5, 2), TOMATO)
    cv.fill(Circle(CX + 2.5, 61, 1.2), WHITE, 0.7)
    shine(cv, g, 50, 70, inset=0.55, w=1.8)
    outline(cv, g)
    return cv


def draw_coffee_cup():
    """A coffee cup on its saucer, steaming."""
    cv = Canvas(W, H)
    background(cv)
    cv.shadow(Ellipse(CX - 40, BASE - 5, CX + 44, BASE + 5), colour=WOOD_DD,
              alpha=0.45, blur=1.6, dx=2, dy=0)
    # saucer
    cv.fill(Ellipse(CX - 42, BASE - 9, CX + 42, BASE + 4), WHITE)
    cv.fill(Arc(CX - 42, BASE - 9, CX + 42, BASE + 4, 0, 360, STROKE),
            OUTLINE)
    cv.fill(Ellipse(CX - 26, BASE - 7, CX + 26, BASE + 1), LINEN, 0.8)
    cup = [(27, 86), (27, 86), (26.5, 100), (23, 118), (16, 131),
           (15, 132), (15, 132)]
    g = Glass(cup, wall=2.0, bottom=125)
    # handle behind the cup's right side
    cv.fill(Arc(CX + 18, 94, CX + 42, 118, 270, 90 + 360, 6), OUTLINE)
    cv.fill(Arc(CX + 19.5, 95.5, CX + 40.5, 116.5, 275, 85 + 360, 3.4),
            CREAM)
    cv.fill(g.silhouette(), VGrad((86, WHITE), (132, (238, 230, 214))))
    cv.fill(g.ellipse_at(92, g.inner_at(92)), COFFEE)
    cv.fill(Ellipse(CX - 14, 90, CX + 10, 94.6), (196, 150, 100), 0.9)
    # a band round the cup
    band = []
    for y in (104, 107):
        band.append([(CX + s * g.width_at(y), y + 1.2 * (1 - abs(s)))
                     for s in [i / 10 for i in range(-10, 11)]])
    for pts in band:
        cv.fill(Line(pts, 1.2), TOMATO, 0.8)
    steam(cv, CX, 78)
    shine(cv, g, 92, 118, inset=0.7, w=2.0, alpha=0.9)
    for side in (1, -1):
        cv.fill(Line(g.outline_pts(side), STROKE), OUTLINE)
    e = 27 * 0.17
    cv.fill(Arc(CX - 27, 86 - e, CX + 27, 86 + e, 0, 360, STROKE * 0.9),
            OUTLINE)
    cv.fill(Arc(CX - 15, 132 - 2.5, CX + 15, 132 + 2.5, 0, 180, STROKE),
            OUTLINE)
    return cv


def draw_collins():
    """A tall Collins glass: lemonade, ice, a lemon wheel and a straw."""
    cv = Canvas(W, H)
    background(cv)
    g = Glass([(16, 22), (16, 22), (15.5, BASE), (15.5, BASE)], wall=2.0,
              bottom=BASE - 9)
    counter_shadow(cv, 16)
    glass_body(cv, g)
    straw(cv, [(CX + 5, 122), (CX + 8, 40), (CX + 12, 8)])
    liquid(cv, g, 34, LEMONADE, alpha=0.82)
    ice(cv, CX - 4, 44, 6, 12)
    ice(cv, CX + 5, 58, 6, -18)
    ice(cv, CX - 5, 78, 6, 28)
    bubbles(cv, [(CX - 8, 100, 0.8), (CX + 6, 110, 0.7), (CX - 2, 118, 0.8),
                 (CX + 9, 92, 0.6)], alpha=0.9)
    heavy_base(cv, g)
    citrus_on_rim(cv, CX - 14, 22, 9, (226, 196, 40), (250, 228, 96))
    shine(cv, g, 30, 124)
    outline(cv, g)
    return cv


def draw_cordial():
    """A small cordial glass of green liqueur."""
    cv = Canvas(W, H)
    background(cv)
    g = Glass([(14, 70), (14, 70), (13, 84), (7, 98), (2.2, 102),
               (1.8, 106), (1.8, 132)], bottom=99, foot=15)
    counter_shadow(cv, 15)
    glass_body(cv, g)
    liquid(cv, g, 80, MINT_LIQUEUR)
    shine(cv, g, 74, 94, inset=0.6, w=1.8)
    outline(cv, g)
    return cv


def draw_highball():
    """A highball: ice, a clear fizzy mixer and a wedge of lime."""
    cv = Canvas(W, H)
    background(cv)
    g = Glass([(20, 40), (20, 40), (18.5, BASE), (18.5, BASE)], wall=2.2,
              bottom=BASE - 9)
    counter_shadow(cv, 19)
    glass_body(cv, g)
    liquid(cv, g, 52, (210, 226, 216), alpha=0.7)
    ice(cv, CX - 7, 60, 7, 15)
    ice(cv, CX + 7, 66, 7, -10)
    ice(cv, CX - 2, 86, 7, 35)
    bubbles(cv, [(CX - 10, 104, 0.8), (CX + 8, 112, 0.7), (CX + 2, 98, 0.7),
                 (CX - 4, 120, 0.8), (CX + 11, 90, 0.6), (CX - 12, 80, 0.6)],
            alpha=0.95)
    heavy_base(cv, g)
    # a wedge of lime on the rim
    wx, wy, r = CX + 14, 41, 10
    cv.fill(Chord(wx - r, wy - r, wx + r, wy + r, 180, 360), LIME_D)
    cv.fill(Chord(wx - r * 0.82, wy - r * 0.82, wx + r * 0.82,
                  wy + r * 0.82, 180, 360), lighter(LIME, 0.3))
    for deg in (210, 240, 270, 300, 330):
        a = math.radians(deg)
        cv.fill(Line([(wx, wy - 0.5), (wx + r * 0.78 * math.cos(a),
                                       wy + r * 0.78 * math.sin(a))], 0.6),
                WHITE, 0.75)
    shine(cv, g, 46, 124)
    outline(cv, g)
    return cv


def draw_old_fashioned():
    """A short, heavy tumbler: whisky on a large ice cube, orange and cherry."""
    cv = Canvas(W, H)
    background(cv)
    g = Glass([(26, 78), (26, 78), (24, BASE), (24, BASE)], wall=2.4,
              bottom=BASE - 12)
    counter_shadow(cv, 24)
    glass_body(cv, g)
    liquid(cv, g, 100, WHISKY, alpha=0.88)
    ice(cv, CX - 2, 102, 11, 10)
    heavy_base(cv, g)
    citrus_on_rim(cv, CX + 18, 80, 9, (226, 110, 24), (248, 160, 52))
    cherry(cv, CX - 6, 94, stem=(-5, -12))
    shine(cv, g, 84, 126, w=2.4)
    outline(cv, g)
    return cv


def draw_pousse():
    """A pousse-café: liqueurs floated in coloured layers."""
    cv = Canvas(W, H)
    background(cv)
    g = Glass([(12, 40), (12, 40), (11, 86), (8, 100), (2.2, 106),
               (1.8, 110), (1.8, 132)], bottom=103, foot=16)
    counter_shadow(cv, 16)
    glass_body(cv, g)
    layers = ((50, (236, 236, 224)), (62, (76, 150, 88)), (74, HONEY),
              (86, (214, 60, 56)), (96, (104, 56, 110)))
    for level, colour in layers:
        liquid(cv, g, level, colour, alpha=0.95)
    shine(cv, g, 46, 98, inset=0.5, w=1.8)
    outline(cv, g)
    return cv


def draw_punch():
    """A punch cup of red fruit punch with an orange slice."""
    cv = Canvas(W, H)
    background(cv)
    g = Glass([(27, 90), (27, 90), (26, 104), (19, 122), (11, 128),
               (8.5, 131), (8.5, 134), (12, BASE), (12, BASE)],
              wall=2.0, bottom=125)
    counter_shadow(cv, 14)
    # handle
    cv.fill(Arc(CX + 17, 94, CX + 38, 118, 270, 90 + 360, 4.8), OUTLINE)
    cv.fill(Arc(CX + 18.5, 95.5, CX + 36.5, 116.5, 275, 85 + 360, 2.2),
            GLASS_TINT)
    glass_body(cv, g)
    liquid(cv, g, 98, PUNCH, alpha=0.88)
    citrus_wheel(cv, CX - 8, 97, 6.5, (232, 120, 30), (250, 170, 60))
    cv.fill(Circle(CX + 10, 97, 3.2), (150, 40, 90))
    cv.fill(Circle(CX + 9, 96, 0.9), WHITE, 0.7)
    shine(cv, g, 98, 120, inset=0.7, w=2.0)
    outline(cv, g)
    return cv


def draw_shot():
    """A heavy shot glass, filled."""
    cv = Canvas(W, H)
    background(cv)
    g = Glass([(15, 94), (15, 94), (12.5, BASE), (12.5, BASE)], wall=2.4,
              bottom=BASE - 13)
    counter_shadow(cv, 13)
    glass_body(cv, g)
    liquid(cv, g, 100, AMBER)
    heavy_base(cv, g)
    shine(cv, g, 98, 134, w=2.0)
    outline(cv, g)
    return cv


def draw_sour():
    """A sour glass: a whisky sour with its foam and a cherry."""
    cv = Canvas(W, H)
    background(cv)
    g = Glass([(20, 60), (20, 60), (20.5, 76), (16, 98), (6, 106),
               (2.2, 109), (1.8, 113), (1.8, 132)], bottom=105, foot=18)
    counter_shadow(cv, 18)
    glass_body(cv, g)
    liquid(cv, g, 70, (236, 190, 80), top=(252, 244, 220))
    cherry(cv, CX + 12, 64, stem=(6, -13))
    shine(cv, g, 70, 98, inset=0.6, w=2.0)
    outline(cv, g)
    return cv


def draw_wine():
    """A wine glass with red wine."""
    cv = Canvas(W, H)
    background(cv)
    g = Glass([(19, 36), (19.5, 44), (24, 70), (22, 88), (12, 100),
               (3, 104), (1.9, 108), (1.8, 132)], bottom=101, foot=21)
    counter_shadow(cv, 21)
    glass_body(cv, g)
    liquid(cv, g, 76, RED_WINE, top=lighter(RED_WINE, 0.2), alpha=0.95)
    shine(cv, g, 44, 92, inset=0.62, w=2.4)
    outline(cv, g)
    return cv


# The glass list's order, with the file names the drinks file's tables use.
GLASSES = (
    ('inget.bmp', draw_unknown),
    ('Beer.bmp', draw_beer),
    ('Brandy.bmp', draw_brandy),
    ('Champ.bmp', draw_champagne),
    ('Cocktail.bmp', draw_cocktail),
    ('Coffecup.bmp', draw_coffee_cup),
    ('Collins.bmp', draw_collins),
    ('Cordial.bmp', draw_cordial),
    ('Highball.bmp', draw_highball),
    ('Oldfash.bmp', draw_old_fashioned),
    ('Pousse.bmp', draw_pousse),
    ('Punch.bmp', draw_punch),
    ('Shot.bmp', draw_shot),
    ('Sour.bmp', draw_sour),
    ('Wine.bmp', draw_wine),
)


def draw_glasses(out):
    """Write the glass pictures: 24-bit BMPs and their HiDPI PNGs."""
    for name, draw in GLASSES:
        cv = draw()
        lo = scaled(cv.img, (cv.w, cv.h)).convert('RGB')
        lo.save(out.path(name), 'BMP')
        out.hidpi(cv, name, transparent=False)
