"""Every picture Culvora ships, drawn with the drawing library.

draw_all() writes them all into a data folder: the GIFs, data/pics/ and the HiDPI
PNGs in data/pics/hidpi/.
"""

import math
import os
import random

from PIL import Image, ImageChops, ImageFilter

from .drawing import (
    Canvas, Circle, DANCING, Ellipse, HGrad, Line, Minus, Output, Poly, RRect,
    Radial, Rect, SANS_B, SERIF_I, SS, Text, Union, VGrad, darker, lighter,
    mix, to_gif, wave)
from .glasses import draw_glasses
from .icons import (
    icon_apple_chart, icon_books, icon_bubbles, icon_calc_carrot,
    icon_calendar_plate, icon_card_download, icon_cocktail, icon_fork,
    icon_fridge, icon_herb_sprig, icon_lemon_slice, icon_open_book, icon_pot,
    icon_recipe_box, icon_recipe_card, icon_spoon, icon_timer_list,
    icon_tomato, icon_wheat, icon_whisk)
from .palette import (
    CREAM, HONEY, HONEY_D, HONEY_P, INK, INK2, LINEN, LINEN_D, OLIVE, PAPER,
    PAPER_L, SAGE_P, TOMATO, TOMATO_D, TOMATO_L, TOMATO_P, WHITE, WOOD, WOOD_D,
    WOOD_DD, WOOD_L)


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
    to_gif(lo.convert('RGBA'), out.path('bak.gif'), PAPER)
    hi.save(out.path('pics/hidpi/bak@2x.png'), 'PNG', optimize=True)


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


def draw_all(data):
    """Write every picture into the data folder; returns the files written."""
    out = Output(os.path.normpath(data), PAPER)
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
    draw_glasses(out)
    return out.written
