"""Type hints of the compiled core of the package twinfind."""

import os
from typing import Iterable, Optional, Sequence, Tuple, Union

__version__: str

Box = Tuple[float, float, float, float]
Window = Tuple[float, float, float, float]
PathLike = Union[str, bytes, "os.PathLike[str]", "os.PathLike[bytes]"]
Twins = Union["Twin", "Family", Iterable[Union["Twin", "Family"]]]
Families = Iterable[Union["Family", Iterable["Twin"]]]

class Error(Exception):
    """What twinfind refuses, with the message the twinfind tool gives."""

class TwinfindWarning(UserWarning):
    """What the import, the search or the save tells beside its result."""

class Twin:
    """One twin of a part: segments that are the part moved, turned or mirrored."""

    @property
    def handles(self) -> list[str]:
        """The handles of the DXF entities its segments came from, in file order."""
    @property
    def segments(self) -> list[int]:
        """The ids of its segments in twinfind's drawing."""
    @property
    def box(self) -> Box:
        """The extent of its figures: (min_x, min_y, max_x, max_y)."""
    @property
    def angle(self) -> float:
        """The turn in degrees (0 <= angle < 360) that takes the part onto it."""
    @property
    def mirrored(self) -> bool:
        """True when it is a mirror image of the part."""
    @property
    def is_part(self) -> bool:
        """True when it is the part itself."""

class Family:
    """One family of the survey: every twin of one part."""

    @property
    def members(self) -> list[Twin]:
        """The twins, the member searched from first."""
    @property
    def count(self) -> int:
        """How many parts the family holds."""
    @property
    def found_count(self) -> int:
        """How many twins the search finds from the member searched from, those lying in parts of
        other families too."""
    @property
    def mirrored_count(self) -> int:
        """How many of them are mirror images of the first."""
    @property
    def figures(self) -> int:
        """The figures of one member."""
    @property
    def box(self) -> Box:
        """The extent of the member searched from."""

class Drawing:
    """A drawing read from a DXF file by twinfind.open."""

    @property
    def path(self) -> str:
        """The file the drawing was read from."""
    def find(
        self,
        part: Union[Window, Sequence[str]],
        *,
        range: Optional[Window] = None,
        rotate: bool = False,
        mirror: bool = False,
        same_layer: bool = False,
        same_line: bool = False,
        tolerance: Optional[float] = None,
        hidden_layers: bool = False,
    ) -> list[Twin]:
        """The twins of a part (a window or DXF handles) in the range."""
    def survey(
        self,
        *,
        range: Optional[Window] = None,
        rotate: bool = False,
        mirror: bool = False,
        same_layer: bool = False,
        same_line: bool = False,
        tolerance: Optional[float] = None,
        all: bool = False,
        hidden_layers: bool = False,
    ) -> list[Family]:
        """Every family of parts and holes in the range, members times their size largest first
        (strokes too with all)."""
    def delete(self, twins: Twins) -> int:
        """Deletes the segments of the twins; the number deleted."""
    def recolour(self, twins: Twins, colour: str, line_type: str) -> int:
        """Gives the twins' figures a colour and a line type; the segments recoloured."""
    def save(self, path: PathLike, *, blocks: Union[bool, Families] = False) -> dict[str, int]:
        """Saves the file it was read from with only the changes made here (blocks: the twins
        as block references)."""
    def split(
        self, families: Families, folder: PathLike, *, hands: bool = False
    ) -> list[dict[str, object]]:
        """One DXF file per family and parts.csv, parts.json in a new or empty folder."""

def open(
    path: PathLike, *, memory_limit_mb: Optional[int] = None, chord_tolerance: Optional[float] = None
) -> Drawing:
    """Reads a DXF drawing, as `twinfind run DRAWING` reads it."""

def set_language(language: str) -> None:
    """The language of what the command says: "ko" (the default) or "en"."""

def language() -> str:
    """"ko" or "en": the language set_language chose."""
