"""The kitchen things drawn into the pictures.

Each icon is drawn in a 100 x 100 unit box on the canvas it is given; callers
place and size it with push()/pop().
"""

import math
import random

from .drawing import (
    Chord, Circle, Ellipse, HGrad, Line, Minus, Poly, RRect, Radial, Rect,
    SANS_B, Text, Union, VGrad, darker, leaf, lighter, mix, obox, ocircle,
    rotated, rrect_pts, wave)
from .palette import (
    CARROT, CARROT_D, CREAM, HONEY, HONEY_D, HONEY_L, INK, INK2, LINEN_D,
    OLIVE, OLIVE_D, PAPER, PAPER_L, SAGE, SAGE_P, STEEL, STEEL_D, STEEL_L,
    TOMATO, TOMATO_D, TOMATO_L, WHITE, WOOD, WOOD_D, WOOD_DD, WOOD_L)


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
