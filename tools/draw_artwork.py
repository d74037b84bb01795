#!/usr/bin/python3
"""Draw every picture Culvora ships, from code, into data/ and dist/.

Everything is drawn on a canvas four times the final size and scaled down:
to 2x for the HiDPI PNGs in data/pics/hidpi/ and to 1x for the GIFs (and the
icon PNGs).  The desktop's icon files (a PNG for each hicolor size and the
scalable SVG) go into dist/icons/hicolor/.  No randomness that is not seeded,
no timestamps: running the script twice writes the same bytes.

    /usr/bin/python3 tools/draw_artwork.py [output-data-folder [output-dist-folder]]

The drawing library is tools/artwork/drawing.py; the pictures themselves are
in tools/artwork/pictures.py and tools/artwork/icons.py, the desktop icon in
tools/artwork/app_icon.py.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.dont_write_bytecode = True  # keep tools/ free of __pycache__ folders

from artwork.app_icon import draw_hicolor  # noqa: E402
from artwork.pictures import draw_all  # noqa: E402


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    data = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, '..', 'data')
    dist = sys.argv[2] if len(sys.argv) > 2 else os.path.join(here, '..', 'dist')
    for rel in draw_all(data):
        print(rel)
    for rel in draw_hicolor(dist):
        print(os.path.join('dist', rel) if len(sys.argv) <= 2 else rel)


if __name__ == '__main__':
    main()
