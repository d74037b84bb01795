"""Culvora's artwork: the drawing library (drawing), the palette, the icons
and the pictures that tools/draw_artwork.py writes into data/."""
