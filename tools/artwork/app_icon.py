"""The application icon as the desktop wants it: a scalable SVG and a PNG
for each of the usual hicolor sizes, written into dist/icons/hicolor/.

The SVG is the same picture as draw_app_icon() in pictures.py, shape for
shape and in the same 256-unit box (the pot in its 100-unit box, placed with
the same transform), written as SVG text so that it stays sharp at any size.
Numbers are rounded to two decimals, so the file is the same on every run.
"""

import os

from .drawing import (
    Canvas, Ellipse, RRect, VGrad, darker, lighter, scaled, wave)
from .icons import icon_pot
from .palette import CREAM, HONEY, HONEY_D, OLIVE, TOMATO, WHITE
from .pictures import draw_app_icon

HICOLOR_SIZES = (16, 24, 32, 48, 64, 128, 256)
SMALL = 32  # up to this size the icon is drawn simpler


def draw_small_app_icon(size):
    """The icon for a menu or a panel: the tile fills the square and the pot
    fills the tile, without the steam, which would only blur at this size."""
    cv = Canvas(size, size)
    cv.push(0, 0, size / 256)
    cv.fill(RRect(4, 4, 252, 252, 44),
            VGrad((4, (176, 196, 128)), (252, OLIVE)))
    cv.fill(Ellipse(30, 214, 226, 238), (40, 50, 20), 0.25)
    cv.push(18, 6.8, 2.2)
    icon_pot(cv, steam_alpha=0.0)
    cv.pop()
    cv.pop()
    return cv


def _n(v):
    """A number as SVG wants it: at most two decimals, no trailing zeros."""
    text = ('%.2f' % v).rstrip('0').rstrip('.')
    return '0' if text == '-0' else text


def _hex(colour):
    return '#%02x%02x%02x' % tuple(colour[:3])


def _rrect(x0, y0, x1, y1, r, fill, extra=''):
    return ('<rect x="%s" y="%s" width="%s" height="%s" rx="%s" fill="%s"%s/>'
            % (_n(x0), _n(y0), _n(x1 - x0), _n(y1 - y0), _n(r), fill, extra))


def _ellipse(x0, y0, x1, y1, fill, extra=''):
    return ('<ellipse cx="%s" cy="%s" rx="%s" ry="%s" fill="%s"%s/>'
            % (_n((x0 + x1) / 2), _n((y0 + y1) / 2), _n((x1 - x0) / 2),
               _n((y1 - y0) / 2), fill, extra))


def _opacity(alpha):
    return ' fill-opacity="%s"' % _n(alpha)


def _pot(body=TOMATO, steam=WHITE, steam_alpha=0.95):
    """icon_pot() of icons.py, in its 100-unit box."""
    out = []
    for x, ph in ((36, 0.0), (50, 0.5), (64, 0.0)):
        pts = wave(x, 26, x + 2, 0, 3.2, 1.0 + ph * 0.3)
        out.append('<polyline points="%s" fill="none" stroke="%s" '
                   'stroke-opacity="%s" stroke-width="4.2" '
                   'stroke-linecap="round" stroke-linejoin="round"/>'
                   % (' '.join('%s,%s' % (_n(px), _n(py)) for px, py in pts),
                      _hex(steam), _n(steam_alpha)))
    handle = _hex(darker(body, 0.25))
    out.append(_rrect(2, 50, 20, 60, 5, handle))
    out.append(_rrect(80, 50, 98, 60, 5, handle))
    out.append(_rrect(12, 42, 88, 94, 14, 'url(#pot-body)'))
    out.append(_rrect(20, 52, 26, 84, 3, _hex(WHITE), _opacity(0.35)))
    out.append('<rect x="12" y="62" width="76" height="8" fill="%s"%s/>'
               % (_hex(CREAM), _opacity(0.9)))
    for x in range(22, 82, 10):
        out.append('<circle cx="%d" cy="66" r="1.8" fill="%s"/>'
                   % (x, _hex(body)))
    out.append(_rrect(8, 38, 92, 47, 4.5, _hex(darker(body, 0.2))))
    # The lid: the upper half of the ellipse in (14,20)-(86,56).
    out.append('<path d="M14,38 A36,18 0 0 1 86,38 Z" fill="url(#pot-lid)"/>')
    out.append(_ellipse(40, 18, 60, 28, _hex(HONEY_D)))
    out.append(_ellipse(41, 16, 59, 25, _hex(HONEY)))
    return out, body


def app_icon_svg():
    """The icon as an SVG document (text)."""
    pot, body = _pot()
    top = (176, 196, 128)
    lines = [
        '<?xml version="1.0" encoding="UTF-8"?>',
        '<!-- Culvora\'s icon, drawn by tools/draw_artwork.py. -->',
        '<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" '
        'viewBox="0 0 256 256">',
        '<defs>',
        '<linearGradient id="tile" x1="0" y1="10" x2="0" y2="246" '
        'gradientUnits="userSpaceOnUse">',
        '<stop offset="0" stop-color="%s"/>' % _hex(top),
        '<stop offset="1" stop-color="%s"/>' % _hex(OLIVE),
        '</linearGradient>',
        '<linearGradient id="pot-body" x1="12" y1="0" x2="88" y2="0" '
        'gradientUnits="userSpaceOnUse">',
        '<stop offset="0" stop-color="%s"/>' % _hex(lighter(body, 0.25)),
        '<stop offset="%s" stop-color="%s"/>' % (_n((45 - 12) / 76), _hex(body)),
        '<stop offset="1" stop-color="%s"/>' % _hex(darker(body, 0.28)),
        '</linearGradient>',
        '<linearGradient id="pot-lid" x1="0" y1="22" x2="0" y2="40" '
        'gradientUnits="userSpaceOnUse">',
        '<stop offset="0" stop-color="%s"/>' % _hex(lighter(body, 0.2)),
        '<stop offset="1" stop-color="%s"/>' % _hex(darker(body, 0.12)),
        '</linearGradient>',
        '<filter id="soft" x="-10%" y="-10%" width="120%" height="120%">',
        '<feGaussianBlur stdDeviation="4"/>',
        '</filter>',
        '</defs>',
        # The tile, its shadow and its light edge.
        _rrect(10, 13, 246, 249, 50, _hex((30, 30, 20)),
               _opacity(0.35) + ' filter="url(#soft)"'),
        _rrect(10, 10, 246, 246, 50, 'url(#tile)'),
        '<rect x="11" y="11" width="234" height="234" rx="49" fill="none" '
        'stroke="#ffffff" stroke-opacity="0.25" stroke-width="2"/>',
        '<circle cx="128" cy="150" r="88" fill="#ffffff"%s/>' % _opacity(0.12),
        _ellipse(44, 206, 212, 226, _hex((40, 50, 20)), _opacity(0.25)),
        '<g transform="translate(38 44) scale(1.8)">',
    ]
    lines += ['  ' + p for p in pot]
    lines += ['</g>', '</svg>', '']
    return '\n'.join(lines)


def draw_hicolor(dist):
    """Write the icon theme files under dist/icons/hicolor; returns them."""
    written = []
    base = os.path.join(dist, 'icons', 'hicolor')
    for size in HICOLOR_SIZES:
        rel = os.path.join('icons', 'hicolor', '%dx%d' % (size, size), 'apps',
                           'culvora.png')
        os.makedirs(os.path.dirname(os.path.join(dist, rel)), exist_ok=True)
        cv = draw_small_app_icon(size) if size <= SMALL else draw_app_icon(size)
        scaled(cv.img, (size, size)).save(os.path.join(dist, rel), 'PNG',
                                          optimize=True)
        written.append(rel)
    rel = os.path.join('icons', 'hicolor', 'scalable', 'apps', 'culvora.svg')
    os.makedirs(os.path.join(base, 'scalable', 'apps'), exist_ok=True)
    with open(os.path.join(dist, rel), 'w', encoding='utf-8',
              newline='\n') as f:
        f.write(app_icon_svg())
    written.append(rel)
    return written
