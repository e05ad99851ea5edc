"""Twinfind from Python: find equal parts ("twins") in DXF drawings.

Open a drawing, find the twins of a part or survey every family of twins,
delete or recolour them, and save the file back with only those changes::

    import twinfind
    drawing = twinfind.open("plate.dxf")
    for family in drawing.survey(rotate=True, mirror=True):
        print(family.count, family.mirrored_count, family.box)

The search is the twinfind command's own, through the same libraries as the
`twinfind` tool, so that the module's answers are the tool's. Settings are
plain arguments: the module never reads or writes the user's settings.
See docs/python.md.
"""

from ._twinfind import (
    Drawing,
    Error,
    Family,
    Twin,
    TwinfindWarning,
    __version__,
    language,
    open,
    set_language,
)

__all__ = [
    "Drawing",
    "Error",
    "Family",
    "Twin",
    "TwinfindWarning",
    "open",
    "set_language",
    "language",
    "__version__",
]
