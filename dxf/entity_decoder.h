// The entities the host can hold, from their groups into the reader's model: layers, block base
// points, lines, arcs, circles, points, polylines with their vertices, block references with
// their attributes, texts, and splines and ellipses as lines. Numbers are read from the groups'
// characters (dxf/number_text.h). An entity whose number groups hold no number, or that lacks a
// group it cannot do without, is left out and counted, never placed at the origin.
#ifndef DXF_ENTITY_DECODER_H
#define DXF_ENTITY_DECODER_H

#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "dxf/curve_flattening.h"
#include "dxf/dxf_model.h"
#include "dxf/field_index.h"
#include "dxf/figure_geometry.h"
#include "dxf/group_reader.h"
#include "dxf/text_codec.h"

namespace twinfind::dxf {

// Why an entity was left out, beside the reasons for geometry the host cannot hold.
inline constexpr std::string_view kNoNumber = "text where a number belongs";
inline constexpr std::string_view kGroupMissing = "a required group missing";

class EntityDecoder {
 public:
  explicit EntityDecoder(Model& model) : model_(model) {}

  void SetEncoding(const TextEncoding& encoding) { encoding_ = encoding; }
  // How far the lines a spline or an ellipse becomes may lie from the curve.
  void SetChordTolerance(double tolerance) { chordTolerance_ = tolerance; }
  // How many lines all splines and ellipses together may become.
  void SetMostCurveLines(size_t most) { mostCurveLines_ = most; }
  // Where the entities decoded next belong (model space or a block), or nowhere. An open
  // polyline is finished where it began.
  void SetTarget(Container* target);
  // Every entity passes here before it is decoded or left unread: a polyline ends at anything
  // other than a VERTEX, a reference takes attributes until anything other than an ATTRIB.
  void EndParts(std::string_view type);

  // One entity of a type the host holds (IsReadEntityType; VERTEX, SEQEND and ATTRIB too), its
  // groups with its type first; `source` is its entity of Model::entities, or -1.
  void Decode(std::string_view type, std::span<const Group> groups, int source);
  // A layer table entry, and the BLOCK entity that begins a block (the target).
  void DecodeLayer(std::span<const Group> groups);
  void DecodeBlock(std::span<const Group> groups);
  // Finishes what is open at the end of the file.
  void Finish() { SetTarget(nullptr); }

 private:
  // Reading values of the indexed entity. A real that is missing gives the fallback; one that
  // holds no number, and a required one that is missing, mark the entity.
  double Real(int code, double fallback);
  double Required(int code);
  int Int(int code, int fallback) const;
  std::string_view Value(int code) const;  // trimmed; empty when missing
  bool Faulty() const { return !fault_.empty(); }

  // +1 for an entity in the drawing plane seen from above, -1 seen from below (extrusion
  // 0, 0, -1: x is mirrored), nothing for an entity out of the plane.
  std::optional<double> PlaneSide();
  Style CurrentStyle();
  // A name from the file (layer) as UTF-8, decoded once per distinct name.
  std::string_view LayerName(std::string_view raw);
  void NotHeld(std::string_view type, std::string_view why);
  Item NewItem(Item::Kind kind, std::string_view type);
  // Adds the figures as one item of the target; counts the entity when they are unusable.
  void AddFigures(Item item, const std::vector<FigureRecord>& figures);
  void AddTexts(Item item, std::vector<TextLine> lines);

  void Line();
  void Point();
  void Circle();
  void Arc();
  void LightPolyline();
  void Polyline(std::string_view type);
  void Vertex();
  void Insert();
  void Text(std::string_view type);
  void MText();
  void Spline();  // entity_decoder_curves.cpp
  void Ellipse();
  // The lines the next curve may become: its own most, or what the drawing's curves have left.
  size_t CurveLinesLeft() const;
  // Adds the curve's lines as one item, or counts it with why it gave none.
  void AddCurve(std::string_view type, const CurveLines& curve);
  std::optional<TextLine> TextOf(std::string_view type, bool attribute);
  void FinishPolyline();

  struct OpenPolyline {
    Item item;
    bool open = false;
    std::string whyNot;  // empty: held
    bool closed = false;
    double side = 1;
    std::vector<dxf::Vertex> vertices;
  };

  Model& model_;
  TextEncoding encoding_;
  double chordTolerance_ = kDefaultChordTolerance;
  size_t mostCurveLines_ = kMostDrawingCurveLines;
  Container* target_ = nullptr;
  FieldIndex fields_;
  std::span<const Group> groups_;
  int source_ = -1;
  std::string fault_;  // why the entity being decoded is left out
  OpenPolyline polyline_;
  std::optional<size_t> openInsert_;  // the target's item that ATTRIBs are added to
  bool refusedReference_ = false;     // the ATTRIBs that follow belong to a reference left out
  std::map<std::string, std::string_view, std::less<>> layerNames_;  // raw -> decoded
};

}  // namespace twinfind::dxf

#endif  // DXF_ENTITY_DECODER_H
