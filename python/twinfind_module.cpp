// The Python module twinfind._twinfind: Python's arguments checked and converted, the calls of
// the drawing session (session/drawing_session.h) made with the interpreter lock released, their
// results and messages handed back as Python objects, warnings and exceptions. The package
// twinfind re-exports it.
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "common/language.h"
#include "common/utf.h"
#include "dxf/dxf_import.h"
#include "dxf/memory_limit.h"
#include "session/drawing_session.h"
#include "settings/setting_values.h"
#include "settings/settings_store.h"
#include "settings/store_memory.h"

namespace py = pybind11;
using twinfind::SearchOptions;
using twinfind::session::BadArgument;
using twinfind::session::DrawingSession;
using twinfind::session::Family;
using twinfind::session::PartSpec;
using twinfind::session::Refused;
using twinfind::session::SaveResult;
using twinfind::session::Twin;

namespace {

PyObject* errorType = nullptr;    // twinfind.Error
PyObject* warningType = nullptr;  // twinfind.TwinfindWarning

// A text of the tool (a message, a handle, a path) as Python's str. The tool's texts are UTF-8
// but may carry bytes of a file or a path that are not: messages show them as \xNN, handles and
// paths keep them as Python keeps undecodable bytes (surrogateescape), so that they go back
// into find() or open() as they came.
py::str Text(const std::string& text, const char* errors = "backslashreplace") {
  PyObject* decoded =
      PyUnicode_DecodeUTF8(text.data(), static_cast<Py_ssize_t>(text.size()), errors);
  if (decoded == nullptr) throw py::error_already_set();
  return py::reinterpret_steal<py::str>(decoded);
}

// The other way, for handles given back.
std::string Bytes(py::handle text) {
  PyObject* encoded = PyUnicode_AsEncodedString(text.ptr(), "utf-8", "surrogateescape");
  if (encoded == nullptr) throw py::error_already_set();
  return py::reinterpret_steal<py::bytes>(encoded).cast<std::string>();
}

void Warn(const std::string& text) {
  const std::string message = Text(text).cast<std::string>();  // valid UTF-8 now
  if (PyErr_WarnEx(warningType, message.c_str(), 1) != 0) throw py::error_already_set();
}

// Asked now and then by a search or a survey: an interrupt (Ctrl-C) or another signal handler
// that raises stops it, and what it raised is raised by the call. It takes the interpreter lock
// while the search holds the host's, so every call of this module that waits for the host's
// lock must have let the interpreter lock go first, or the two would wait for each other.
bool KeepGoing() {
  py::gil_scoped_acquire locked;
  return PyErr_CheckSignals() == 0;
}

void Raise(PyObject* type, const std::string& text) { PyErr_SetObject(type, Text(text).ptr()); }

// A warning line of the tool ("warning: ...") as a Python warning's text.
std::string WithoutWarningWord(const std::string& line) {
  constexpr std::string_view kWord = "warning: ";
  return line.starts_with(kWord) ? line.substr(kWord.size()) : line;
}

std::string TypeName(py::handle value) { return Py_TYPE(value.ptr())->tp_name; }

std::string Number(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6g", v == 0 ? 0.0 : v);
  return text;
}

py::tuple BoxTuple(const VexBox& box) {
  return py::make_tuple(box.minX, box.minY, box.maxX, box.maxY);
}

bool IsRealNumber(py::handle value) {
  return !PyBool_Check(value.ptr()) && (PyFloat_Check(value.ptr()) || PyIndex_Check(value.ptr()));
}

// A window (x1, y1, x2, y2) in either corner order, as a range step takes it.
VexBox WindowOf(py::handle value, const std::string& what) {
  if (py::isinstance<py::str>(value) || !py::isinstance<py::sequence>(value)) {
    throw py::type_error(what + " takes a window (x1, y1, x2, y2), not a " + TypeName(value));
  }
  const auto items = py::reinterpret_borrow<py::sequence>(value);
  if (py::len(items) != 4) {
    throw BadArgument(what + " takes a window of four numbers (x1, y1, x2, y2), not " +
                      std::to_string(py::len(items)));
  }
  double v[4];
  for (size_t i = 0; i < 4; ++i) {
    const py::object item = items[i];
    if (!IsRealNumber(item)) {
      throw py::type_error(what + " takes four numbers, not a " + TypeName(item));
    }
    v[i] = py::float_(item).cast<double>();
    if (!std::isfinite(v[i])) throw BadArgument(what + " takes four finite numbers");
  }
  return {std::min(v[0], v[2]), std::min(v[1], v[3]), std::max(v[0], v[2]), std::max(v[1], v[3])};
}

twinfind::session::Area AreaOf(py::handle range, bool hiddenLayers) {
  twinfind::session::Area area;
  if (!range.is_none()) area.range = WindowOf(range, "range");
  area.hiddenLayers = hiddenLayers;
  return area;
}

PartSpec PartOf(py::handle part) {
  if (py::isinstance<py::str>(part) || py::isinstance<py::bytes>(part)) {
    throw py::type_error(
        "part takes a window (x1, y1, x2, y2) or a list of DXF handles; put a single handle in "
        "a list: ['" +
        py::str(part).cast<std::string>() + "']");
  }
  if (!py::isinstance<py::sequence>(part)) {
    throw py::type_error("part takes a window (x1, y1, x2, y2) or a list of DXF handles, not a " +
                         TypeName(part));
  }
  const auto items = py::reinterpret_borrow<py::sequence>(part);
  if (py::len(items) == 0) throw BadArgument("the part is empty: give a window or handles");
  bool texts = true;
  for (const py::handle item : items) texts = texts && py::isinstance<py::str>(item);
  if (!texts) return WindowOf(part, "part");
  std::vector<std::string> handles;
  for (const py::handle item : items) handles.push_back(Bytes(item));
  return handles;
}

SearchOptions OptionsOf(bool rotate, bool mirror, bool sameLayer, bool sameLine,
                        std::optional<double> tolerance) {
  SearchOptions options;
  options.rotate = rotate;
  options.mirror = mirror;
  options.sameLayer = sameLayer;
  options.sameLineAttr = sameLine;
  if (tolerance) {
    if (!std::isfinite(*tolerance) || *tolerance <= 0) {
      throw BadArgument("tolerance takes a number above 0, not " + Number(*tolerance));
    }
    options.tolerance = *tolerance;
  }
  return options;
}

// A path as the file system takes it: str, bytes or os.PathLike.
// A host colour or line type given by its number (1 to `most`) or its name (PREFIX01...), as
// the name the session takes; a number out of range raises ValueError, a name is checked there.
std::string NumberedName(py::handle given, const std::string& prefix, int most,
                         const std::string& what) {
  if (PyLong_Check(given.ptr()) && !PyBool_Check(given.ptr())) {
    const long long n = given.cast<long long>();
    if (n < 1 || n > most) {
      throw BadArgument("the " + what + " " + std::to_string(n) + " is none of 1 to " +
                        std::to_string(most));
    }
    return prefix + (n < 10 ? "0" : "") + std::to_string(n);
  }
  if (!py::isinstance<py::str>(given)) {
    throw BadArgument("the " + what + " is a number or a name (" + prefix + "01), not " +
                      py::str(py::type::of(given).attr("__name__")).cast<std::string>());
  }
  std::string name = given.cast<std::string>();
  for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return name;
}

std::string PathOf(py::handle path) {
  return py::module_::import("os").attr("fsencode")(path).cast<std::string>();
}

std::optional<uint64_t> MemoryLimitOf(py::handle megabytes) {
  if (megabytes.is_none()) return std::nullopt;
  const std::string text = py::str(megabytes).cast<std::string>();
  if (PyBool_Check(megabytes.ptr()) || !PyLong_Check(megabytes.ptr())) {
    throw BadArgument("memory_limit_mb takes a whole number of megabytes (1 or more), not " + text);
  }
  const std::optional<uint64_t> bytes = twinfind::dxf::ParseMemoryLimitMb(text);
  if (!bytes) {
    throw BadArgument("memory_limit_mb takes a number of megabytes (1 or more), not " + text);
  }
  return bytes;
}

// The twins an action takes: a Twin, a Family (its members), or an iterable of them. The
// objects are kept in `keep` for the duration of the call, which reads them without the lock.
std::vector<const Twin*> TwinsOf(py::handle value, std::vector<py::object>& keep,
                                 const char* action) {
  std::vector<const Twin*> twins;
  const auto add = [&](py::handle item) {
    if (py::isinstance<Twin>(item)) {
      keep.push_back(py::reinterpret_borrow<py::object>(item));
      twins.push_back(&item.cast<const Twin&>());
    } else if (py::isinstance<Family>(item)) {
      keep.push_back(py::reinterpret_borrow<py::object>(item));
      for (const Twin& twin : item.cast<const Family&>().members) twins.push_back(&twin);
    } else {
      throw py::type_error(std::string(action) + " takes twins (Twin or Family objects), not a " +
                           TypeName(item));
    }
  };
  if (py::isinstance<Twin>(value) || py::isinstance<Family>(value)) {
    add(value);
  } else if (py::isinstance<py::iterable>(value) && !py::isinstance<py::str>(value)) {
    for (const py::handle item : value) add(item);
  } else {
    throw py::type_error(std::string(action) +
                         " takes twins (a Twin, a Family, or a list of them), not a " +
                         TypeName(value));
  }
  return twins;
}

// Families as a caller names them: Family objects, or iterables of Twin objects (the twins of
// one find). Kept in `keep` for the duration of the call.
std::vector<twinfind::session::TwinGroup> GroupsOf(py::handle value, std::vector<py::object>& keep,
                                                   const char* action) {
  if (py::isinstance<py::str>(value) || !py::isinstance<py::iterable>(value)) {
    throw py::type_error(std::string(action) +
                         " takes a list of families (Family objects, or lists of Twin objects), "
                         "not a " +
                         TypeName(value));
  }
  std::vector<twinfind::session::TwinGroup> groups;
  for (const py::handle item : value) {
    if (py::isinstance<Twin>(item)) {
      throw py::type_error(std::string(action) +
                           " takes a list of families: put the twins of one family in a list "
                           "of their own");
    }
    groups.push_back(TwinsOf(item, keep, action));
  }
  return groups;
}

py::dict RowDict(const twinfind::parts::SplitRow& row) {
  const auto& m = row.measures;
  py::dict d;
  d["file"] = Text(row.file);
  d["family"] = row.family;
  d["count"] = row.count;
  d["mirrored"] = row.mirrored;
  d["path"] = py::module_::import("os").attr("fsdecode")(py::bytes(row.path));
  d["width"] = row.sizes.width;
  d["height"] = row.sizes.height;
  d["cut_length"] = row.sizes.cutLength;
  d["pierces"] = m.loops;
  d["area"] = row.sizes.area;
  d["unit"] = Text(row.unit);
  py::list layers;
  for (const std::string& layer : m.layers) layers.append(Text(layer));
  d["layers"] = layers;
  d["block"] = row.block.empty() ? py::object(py::none()) : py::object(Text(row.block));
  py::list members;
  for (const auto& member : row.members) {
    py::dict md;
    py::list handles;
    for (const std::string& h : member.handles) handles.append(Text(h, "surrogateescape"));
    md["handles"] = handles;
    md["angle"] = member.angleDegrees;
    md["mirrored"] = member.mirrored;
    members.append(md);
  }
  d["members"] = members;
  return d;
}

std::string TwinRepr(const Twin& t) {
  std::string handles;
  for (size_t i = 0; i < t.handles.size() && i < 4; ++i) {
    handles += (i ? ", '" : "'") + t.handles[i] + "'";
  }
  if (t.handles.size() > 4) handles += ", ...";
  return "<twinfind.Twin handles=[" + handles + "] angle=" + Number(t.angleDegrees) +
         (t.mirrored ? " mirrored" : "") + (t.isPart ? " part" : "") + ">";
}

}  // namespace

PYBIND11_MODULE(_twinfind, m) {
  m.doc() = R"(Twinfind's search for equal parts ("twins") in DXF drawings.

The compiled core of the package ``twinfind``; use it through that package.)";
  // The settings live in memory for the life of the process: nothing the module runs reads or
  // writes the user's settings file or registry. Its calls take their settings as arguments.
  static twinfind::MemorySettingsStore* const store =
      new twinfind::MemorySettingsStore;  // never freed: in use to the end
  twinfind::InstallSettingsStore(store);
  // The docstrings begin with their own signatures, in Python's words (the argument types are
  // in _twinfind.pyi).
  py::options options;
  options.disable_function_signatures();
  m.attr("__version__") = TWINFIND_VERSION;

  errorType = PyErr_NewExceptionWithDoc(
      "twinfind.Error",
      "What twinfind refuses, with the message the twinfind tool gives: a drawing that cannot be "
      "read, a part the command's part step would not take, a save over the input drawing.",
      PyExc_Exception, nullptr);
  warningType = PyErr_NewExceptionWithDoc(
      "twinfind.TwinfindWarning",
      "What the import, the search or the save tells beside its result, as the twinfind tool "
      "tells it in its warning lines: entities the host does not hold, twins left out.",
      PyExc_UserWarning, nullptr);
  m.attr("Error") = py::handle(errorType);
  m.attr("TwinfindWarning") = py::handle(warningType);
  py::register_exception_translator([](std::exception_ptr p) {
    try {
      if (p) std::rethrow_exception(p);
    } catch (const BadArgument& e) {
      Raise(PyExc_ValueError, e.what());
    } catch (const Refused& e) {
      Raise(errorType, e.what());
    }
  });

  py::class_<Twin>(m, "Twin", R"(One twin of a part: a group of segments of the drawing that is the
part after a move, and where the search allowed it a turn or a mirroring.

Twins come from Drawing.find and Drawing.survey and are read only. A twin
belongs to the drawing that found it; Drawing.delete and Drawing.recolour
take it.)")
      .def_property_readonly(
          "handles",
          [](const Twin& t) {
            py::list handles;
            for (const std::string& h : t.handles) handles.append(Text(h, "surrogateescape"));
            return handles;
          },
          "The handles (DXF group 5) of the entities its segments came from, each once, in the "
          "order of the file: what ezdxf's ``doc.entitydb[handle]`` finds.")
      .def_property_readonly(
          "segments", [](const Twin& t) { return t.segments; },
          "The ids of its segments in twinfind's drawing, in the order of the part's segments "
          "they match (the numbers of the tool's report).")
      .def_property_readonly(
          "box", [](const Twin& t) { return BoxTuple(t.box); },
          "The extent of its figures: (min_x, min_y, max_x, max_y).")
      .def_property_readonly(
          "angle", [](const Twin& t) { return t.angleDegrees; },
          "The turn in degrees, counter-clockwise, 0 <= angle < 360, that takes the part onto "
          "it (after the mirroring, for a mirror image).")
      .def_property_readonly(
          "mirrored", [](const Twin& t) { return t.mirrored; },
          "True when it is a mirror image of the part.")
      .def_property_readonly(
          "is_part", [](const Twin& t) { return t.isPart; },
          "True when it is the part itself (the segments searched from).")
      .def("__repr__", [](const Twin& t) { return Text(TwinRepr(t)); });

  py::class_<Family>(m, "Family", R"(One family of the survey: the twins of one part that lie in
no part of another family, the member searched from first.)")
      .def_property_readonly(
          "members", [](const Family& f) { return f.members; },
          "The twins (Twin objects), the member searched from first.")
      .def_property_readonly(
          "count", [](const Family& f) { return f.members.size(); },
          "How many parts the family holds (the quantity of the part); a segment is in one\n"
          "family's part at most.")
      .def_property_readonly(
          "found_count", [](const Family& f) { return f.found; },
          "How many twins the search finds from the member searched from: more than count\n"
          "when some lie in parts of other families (the holes of a plate), which keep them.")
      .def_property_readonly(
          "mirrored_count", [](const Family& f) { return f.mirrored; },
          "How many of them are mirror images of the first.")
      .def_property_readonly(
          "figures", [](const Family& f) { return f.figures; },
          "The figures (lines, arcs, circles, points) of one member.")
      .def_property_readonly(
          "box", [](const Family& f) { return BoxTuple(f.box); },
          "The extent of the member searched from: (min_x, min_y, max_x, max_y).")
      .def("__repr__", [](const Family& f) {
        const double w = f.box.maxX - f.box.minX, h = f.box.maxY - f.box.minY;
        return "<twinfind.Family count=" + std::to_string(f.members.size()) +
               " mirrored=" + std::to_string(f.mirrored) + " figures=" + std::to_string(f.figures) +
               " box " + Number(w) + " x " + Number(h) + ">";
      });

  py::class_<DrawingSession>(m, "Drawing", R"(A drawing read from a DXF file by twinfind.open.

It holds what twinfind's host holds of the file (lines, arcs, circles,
points, texts and what block references place) and the file itself, so
that save writes the file back with only the changes made here.

Every method may be called from any thread: the calls of all drawings run
one at a time, each with the interpreter lock released, so that other
Python threads go on meanwhile.)")
      .def_property_readonly(
          "path",
          [](const DrawingSession& d) {
            return py::module_::import("os").attr("fsdecode")(py::bytes(d.path().value_or("")));
          },
          "The file the drawing was read from, as it was given.")
      .def(
          "find",
          [](DrawingSession& d, py::handle part, py::handle range, bool rotate, bool mirror,
             bool sameLayer, bool sameLine, std::optional<double> tolerance, bool hiddenLayers) {
            const PartSpec spec = PartOf(part);
            const twinfind::session::Area area = AreaOf(range, hiddenLayers);
            const SearchOptions options = OptionsOf(rotate, mirror, sameLayer, sameLine, tolerance);
            std::vector<Twin> twins;
            std::vector<std::string> notes;
            try {
              py::gil_scoped_release unlocked;
              twins = d.Find(spec, area, options, notes, KeepGoing);
            } catch (const twinfind::session::Stopped&) {
              throw py::error_already_set();  // what stopped it, raised by the check
            }
            for (const std::string& note : notes) Warn(note);
            return twins;
          },
          py::arg("part"), py::kw_only(), py::arg("range") = py::none(), py::arg("rotate") = false,
          py::arg("mirror") = false, py::arg("same_layer") = false, py::arg("same_line") = false,
          py::arg("tolerance") = py::none(), py::arg("hidden_layers") = false,
          R"(find(part, *, range=None, rotate=False, mirror=False, same_layer=False, same_line=False, tolerance=None, hidden_layers=False) -> list[Twin]

Finds the twins of a part, as the command's general method finds them.

part: a window (x1, y1, x2, y2), whose part is every segment lying wholly
    inside it as the command's window selection takes it; or a list of DXF
    handles, whose part is every segment those entities gave.
range: the window (x1, y1, x2, y2) searched, its segments lying wholly
    inside it; None searches the whole drawing. One search takes at most
    10000 segments.
hidden_layers: the part's window and the range take in the layers that are
    off or frozen in the file too; without it they are left out, as the
    command's window leaves them out (a part named by handles on such a
    layer is refused).
rotate: twins may be turned.
mirror: twins may be mirror images (only where no unturned placement fits).
same_layer: twins lie on the part's layer.
same_line: twins have the part's colour and line type.
tolerance: how far lengths, angles and coordinates may differ (None: the
    command's default, 0.000001).

Returns the twins in the order the search found them; the part itself is
among them when it lies in the range. Twins that share a segment with a
later one are dropped, as the general method drops them. Each call is one
search of its own: no segment is taken by an earlier call.

Raises twinfind.Error when the command would refuse the part or the range
(an empty window, a part of more than 1000 segments, no line, circle or arc
to search from, a range of more than 10000 segments), ValueError for a
window that is no four finite numbers or a handle that gave no segment.)")
      .def(
          "parts",
          [](DrawingSession& d, py::handle range, bool rotate, bool mirror, bool sameLayer,
             bool sameLine, std::optional<double> tolerance, bool hiddenLayers) {
            const twinfind::session::Area area = AreaOf(range, hiddenLayers);
            const SearchOptions options = OptionsOf(rotate, mirror, sameLayer, sameLine, tolerance);
            std::vector<Family> families;
            bool stopped = false;
            {
              py::gil_scoped_release unlocked;
              families = d.Parts(
                  area, options, [](double) { return KeepGoing(); }, &stopped);
            }
            if (stopped) throw py::error_already_set();  // what stopped it, raised by the check
            return families;
          },
          py::kw_only(), py::arg("range") = py::none(), py::arg("rotate") = false,
          py::arg("mirror") = false, py::arg("same_layer") = false, py::arg("same_line") = false,
          py::arg("tolerance") = py::none(), py::arg("hidden_layers") = false,
          R"(parts(*, range=None, rotate=False, mirror=False, same_layer=False, same_line=False, tolerance=None, hidden_layers=False) -> list[Family]

Every part of the drawing once, as `twinfind survey --split` lists them: each
closed outline with what lies inside it (its holes, slots and marks; what lies
in a hole is a part again), with its twins, a part drawn once as a family of
one. Outlines drawn around parts (a sheet's border) and open strokes outside
every part are no parts. The survey's families come first, in its order.

The arguments are survey's. split(drawing.parts(...), folder) writes the files
`twinfind survey --split` writes. An interrupt (Ctrl-C) stops it and is
raised.)")
      .def(
          "survey",
          [](DrawingSession& d, py::handle range, bool rotate, bool mirror, bool sameLayer,
             bool sameLine, std::optional<double> tolerance, bool all, bool hiddenLayers) {
            const twinfind::session::Area area = AreaOf(range, hiddenLayers);
            const SearchOptions options = OptionsOf(rotate, mirror, sameLayer, sameLine, tolerance);
            std::vector<Family> families;
            bool stopped = false;
            {
              py::gil_scoped_release unlocked;
              stopped = d.Survey(
                             area, options, all, [](double) { return KeepGoing(); }, &families)
                            .cancelled;
            }
            if (stopped) throw py::error_already_set();  // what stopped it, raised by the check
            return families;
          },
          py::kw_only(), py::arg("range") = py::none(), py::arg("rotate") = false,
          py::arg("mirror") = false, py::arg("same_layer") = false, py::arg("same_line") = false,
          py::arg("tolerance") = py::none(), py::arg("all") = false,
          py::arg("hidden_layers") = false,
          R"(survey(*, range=None, rotate=False, mirror=False, same_layer=False, same_line=False, tolerance=None, all=False, hidden_layers=False) -> list[Family]

Finds every family of twins in the drawing without a part being indicated,
as `twinfind survey` does: every part (a closed outline with what lies inside
it, figures that close a loop or hold a circle, a block inserted again and
again; pieces that always touch the same way are one part) and every hole
that occurs at least twice, on the layers that are shown.

range: the window (x1, y1, x2, y2) surveyed, its segments lying wholly
    inside it; None surveys the whole drawing (the survey has no limit of
    segments).
rotate, mirror, same_layer, same_line, tolerance: the twin rules, as for
    find.
all: keeps the families of strokes too (single lines, points, two loose
    figures), as `twinfind survey --all` does.
hidden_layers: surveys the layers that are off or frozen in the file too, as
    `twinfind survey --hidden-layers` does.

Returns the families by members times their size (one more for each doubling of a
member's figures), largest first; a segment is in one family's part at most. An interrupt
(Ctrl-C) stops the survey and is raised.)")
      .def(
          "delete",
          [](DrawingSession& d, py::handle twins) {
            std::vector<py::object> keep;
            const std::vector<const Twin*> given = TwinsOf(twins, keep, "delete");
            py::gil_scoped_release unlocked;
            return d.Delete(given);
          },
          py::arg("twins"),
          R"(delete(twins) -> int

Deletes the segments of the twins, as the general method's delete action
does. twins: a Twin, a Family (its members) or an iterable of them.

Returns the number of segments deleted. Raises ValueError, deleting nothing,
when a twin is of another drawing or was deleted before. save writes the
file without the entities they came from.)")
      .def(
          "recolour",
          [](DrawingSession& d, py::handle twins, py::handle colour, py::handle lineType) {
            std::vector<py::object> keep;
            const std::vector<const Twin*> given = TwinsOf(twins, keep, "recolour");
            const std::string colourName = NumberedName(colour, "MAINCOLOR", 16, "colour");
            const std::string lineTypeName = NumberedName(lineType, "LINETYPE", 10, "line type");
            py::gil_scoped_release unlocked;
            return d.Recolour(given, colourName, lineTypeName);
          },
          py::arg("twins"), py::arg("colour"), py::arg("line_type"),
          R"(recolour(twins, colour, line_type) -> int

Gives every figure of the twins a colour and a line type, as the general
method's recolour action does.

twins: a Twin, a Family (its members) or an iterable of them.
colour: the host colour of the settings: its number, 1 to 16, or its name,
    "MAINCOLOR01" to "MAINCOLOR16" (6 and "MAINCOLOR06" are red).
line_type: the host line type: 1 to 10, or "LINETYPE01" to "LINETYPE10".

Returns the number of segments recoloured. Raises ValueError, changing
nothing, for another name, a twin of another drawing or one deleted
before. save writes the entities with the ACI colour and the line type the
host colour and type stand for.)")
      .def(
          "save",
          [](DrawingSession& d, py::handle path, py::handle blocks) {
            const std::string file = PathOf(path);
            // A .dwg name is refused by the session with its own reason.
            if (!twinfind::dxf::IsDxfName(file) && !twinfind::dxf::IsDwgName(file)) {
              throw BadArgument("save writes DXF: give a name that ends in .dxf, not " + file);
            }
            std::vector<py::object> keep;
            std::vector<twinfind::session::TwinGroup> groups;
            const bool found = PyBool_Check(blocks.ptr()) && blocks.ptr() == Py_True;
            const bool given = !blocks.is_none() && !PyBool_Check(blocks.ptr());
            if (given) groups = GroupsOf(blocks, keep, "save(blocks=...)");
            SaveResult saved;
            {
              py::gil_scoped_release unlocked;
              saved = found   ? d.Save(file, "save", d.FoundGroups())
                      : given ? d.Save(file, "save", groups)
                              : d.Save(file, "save", nullptr);
            }
            for (const std::string& note : saved.notes) Warn(note);
            for (const std::string& warning : saved.warnings) Warn(WithoutWarningWord(warning));
            py::dict counts;
            counts["kept"] = saved.counts.kept;
            counts["deleted"] = saved.counts.deleted;
            counts["changed"] = saved.counts.changed;
            counts["added"] = saved.counts.added;
            if (found || given) {
              int references = 0;
              for (const auto& outcome : saved.blocks) references += outcome.references;
              counts["blocks"] = static_cast<int>(saved.blocks.size());
              counts["references"] = references;
            }
            return counts;
          },
          py::arg("path"), py::kw_only(), py::arg("blocks") = false,
          R"(save(path, *, blocks=False) -> dict[str, int]

Saves the drawing as DXF: the file it was read from, byte for byte, with
only the changes made here (deleted and recoloured entities), as the
tool's --out does. Written to a temporary name, then renamed: a failed save
leaves no half-written file.

path: str, bytes or os.PathLike. It is never the input drawing, by any name
    (a link, "./"): that raises twinfind.Error, as the tool refuses it.
blocks: True saves the twins as block references, as `twinfind survey
    --out OUT.dxf --blocks` does: every family this drawing's survey
    returned and the twins of every find (two or more), in the order they
    were returned, each one block (TWINFIND_PART_<n>, n counting them from
    1) made from its first member, every twin's entities replaced by one
    reference of it at the twin's place and turn (a mirror image with x
    scale -1). A list of families (Family objects, or lists of Twin
    objects) makes blocks of those alone. Twins left as they are (inside a
    twin of an earlier family, deleted, holding texts) are told as a
    TwinfindWarning.

Returns how many entities of the file were kept, deleted, changed and
added: {"kept": N, "deleted": D, "changed": C, "added": A}; saved as blocks,
also how many blocks were made or used and how many references they have
("blocks", "references").)")
      .def(
          "split",
          [](DrawingSession& d, py::handle families, py::handle folder, bool hands,
             bool millimetres, bool quantityInNames, bool svg) {
            const std::string path = PathOf(folder);
            std::vector<py::object> keep;
            const std::vector<twinfind::session::TwinGroup> groups =
                GroupsOf(families, keep, "split");
            std::vector<twinfind::parts::SplitRow> rows;
            {
              py::gil_scoped_release unlocked;
              twinfind::parts::SplitOptions how;
              how.hands = hands;
              how.millimetres = millimetres;
              how.quantityInNames = quantityInNames;
              how.svg = svg;
              rows = d.Split(groups, path, how).rows;
            }
            py::list result;
            for (const auto& row : rows) result.append(RowDict(row));
            return result;
          },
          py::arg("families"), py::arg("folder"), py::kw_only(), py::arg("hands") = false,
          py::arg("millimetres") = false, py::arg("quantity_in_names") = false,
          py::arg("svg") = false,
          R"(split(families, folder, *, hands=False, millimetres=False, quantity_in_names=False, svg=False) -> list[dict]

Writes one DXF file per family into folder, and the parts lists
parts.csv and parts.json, as `twinfind survey --split` writes them: each file
holds the family's first member as the file has it (its entities, layers,
colours, line types), moved so that its box starts at the origin, in the
drawing's version and units, named part-NN.dxf (part-NN-BLOCK.dxf when the
member is a reference of the block BLOCK), NN counting the families given
from 1.

families: Family objects (from survey), or lists of Twin objects (from find).
folder: str, bytes or os.PathLike of a new or an empty folder.
hands: mirror images in a file of their own (part-NN-mirrored.dxf); without
    it they are counted in their family's file as mirrored.
millimetres: sizes, cut lengths and areas in millimetres whatever the
    drawing's unit (refused for a drawing that names none); without it in
    the drawing's unit ($INSUNITS).
quantity_in_names: each file's name tells its quantity (part-07.12.dxf for
    12 of part 7).
svg: beside each file its SVG (closed loops as closed paths), and sheet.svg
    with every copy laid out in rows, mirror images flipped.

Returns one dict per file, as parts.json lists them: file, path (absolute),
family, count, mirrored, width, height, cut_length, pierces (closed loops),
area (inside the outer outline), unit ("mm", "in", ..., "unitless"),
layers, block (or None), members (each with its handles, angle and
mirrored). With no family nothing is written and [] is returned.
Raises twinfind.Error for a folder that is not new or empty, ValueError for a
twin of another drawing or one deleted before.)")
      .def("__repr__", [](DrawingSession& d) {
        size_t segments = 0;
        {
          py::gil_scoped_release unlocked;
          segments = d.SegmentCount();
        }
        return Text("<twinfind.Drawing '" + d.path().value_or("") +
                    "': " + std::to_string(segments) + " segments>");
      });

  m.def(
      "open",
      [](py::handle path, py::handle memoryLimitMb, std::optional<double> chordTolerance) {
        const std::string file = PathOf(path);
        const std::optional<uint64_t> limit = MemoryLimitOf(memoryLimitMb);
        const double chord = chordTolerance.value_or(twinfind::dxf::kDefaultChordTolerance);
        if (!(chord > 0) || !std::isfinite(chord)) {
          throw BadArgument("chord_tolerance takes a distance above 0, not " + Number(chord));
        }
        std::vector<std::string> warnings;
        auto drawing = std::make_unique<DrawingSession>(file);
        {
          py::gil_scoped_release unlocked;
          drawing->Open({limit, chord}, warnings);
        }
        for (const std::string& warning : warnings) Warn(WithoutWarningWord(warning));
        return drawing;
      },
      py::arg("path"), py::kw_only(), py::arg("memory_limit_mb") = py::none(),
      py::arg("chord_tolerance") = py::none(),
      R"(open(path, *, memory_limit_mb=None, chord_tolerance=None) -> Drawing

Reads a DXF drawing, as `twinfind run DRAWING` reads it.

path: str, bytes or os.PathLike of a DXF file (ASCII DXF of any version).
memory_limit_mb: the most memory, in megabytes, the process may hold while
    the file is read; a larger drawing is refused before the system runs
    out. None: TWINFIND_MEMORY_LIMIT_MB, else half of the machine's memory.
chord_tolerance: splines and ellipses are read as lines that lie within this
    distance (drawing units) of the curve, as the tool's --chord-tolerance
    (None: 0.01).

What the host cannot hold (hatches, dimensions, ...) is left out and
told as a TwinfindWarning, one per kind and reason, as the tool's warning
lines tell it; it stays in the file that save writes.

Raises twinfind.Error with the tool's message when the drawing cannot be
read ("cannot read the drawing PATH: ..."): no such file, no regular file, a
broken or binary DXF, too large for the memory limit.)");

  m.def(
      "set_language",
      [](const std::string& name) {
        const auto language = twinfind::LanguageNamed(twinfind::ToUtf16(name));
        if (!language) throw BadArgument("set_language takes 'ko' or 'en', not '" + name + "'");
        twinfind::SetLanguage(*language);
      },
      py::arg("language"),
      R"(set_language(language) -> None

The language of what the command says in the module's warnings and errors:
"ko" (Korean, the default, as the command says it) or "en" (English). It
holds for the whole process, as the tool's mLanguage setting does for the
tool.)");
  m.def(
      "language", []() { return std::string(twinfind::LanguageCode(twinfind::CurrentLanguage())); },
      R"(language() -> str

"ko" or "en": the language set_language chose.)");

  // The names read as the package's own.
  for (const char* name : {"Twin", "Family", "Drawing", "open", "set_language", "language"}) {
    m.attr(name).attr("__module__") = "twinfind";
  }
}
