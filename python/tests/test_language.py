"""The module's language: what the command says in its warnings is Korean by default and English
after set_language("en"), for the whole process."""

import re
import warnings

import ezdxf
import pytest

import twinfind

HANGUL = re.compile("[\u1100-\u11ff\u3130-\u318f\uac00-\ud7a3]")


def told(drawing):
    """The warnings of a search that finds more twins than the command keeps (520 circles)."""
    with warnings.catch_warnings(record=True) as caught:
        warnings.simplefilter("always")
        twins = drawing.find((-2, -2, 2, 2))
    assert len(twins) == 499
    return [str(w.message) for w in caught if w.category is twinfind.TwinfindWarning]


def test_the_command_speaks_the_language_set(tmp_path):
    doc = ezdxf.new()
    for i in range(520):
        doc.modelspace().add_circle((i % 40 * 5, i // 40 * 5), 1)
    path = tmp_path / "circles.dxf"
    doc.saveas(path)
    drawing = twinfind.open(path)
    assert twinfind.language() == "ko"
    try:
        assert told(drawing) == ["동일한 부품이 499개를 넘어 21개는 목록에서 제외되었습니다."]
        twinfind.set_language("en")
        assert twinfind.language() == "en"
        english = told(drawing)
        assert english == ["More than 499 identical parts: 21 were left out of the list."]
        assert not HANGUL.search(english[0])
        for bad in ("fr", "", "english please"):
            with pytest.raises(ValueError, match="set_language takes 'ko' or 'en'"):
                twinfind.set_language(bad)
        assert twinfind.language() == "en"
    finally:
        twinfind.set_language("ko")
