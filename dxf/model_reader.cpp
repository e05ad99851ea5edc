#include "dxf/model_reader.h"

#include <span>
#include <vector>

#include "common/utf.h"
#include "dxf/entity_decoder.h"
#include "dxf/line_type_names.h"
#include "dxf/text_codec.h"

namespace twinfind::dxf {
namespace {

// How many groups pass between two questions whether to go on.
constexpr size_t kAskEvery = size_t{1} << 16;

// An entity type as a count's key: printable, short, and never mistaken for "TYPE (why)".
std::string TypeKey(std::string_view type) {
  std::string key(type.substr(0, 40));
  for (char& c : key) {
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '$' ||
                       c == '*' || c == '-';
    if (!plain) c = '?';
  }
  return key.empty() ? "?" : key;
}

// Entities that belong to the entity before them.
bool IsSubEntity(std::string_view type) {
  return type == "VERTEX" || type == "SEQEND" || type == "ATTRIB";
}

class Reader {
 public:
  Reader(std::string_view text, Model& model, double chordTolerance, size_t mostCurveLines)
      : text_(text), model_(model), decoder_(model) {
    decoder_.SetChordTolerance(chordTolerance);
    decoder_.SetMostCurveLines(mostCurveLines);
  }

  ReadOutcome Run(const std::function<bool()>& keepGoing) {
    ReadOutcome outcome;
    GroupStream stream(text_);
    Group g;
    size_t count = 0;
    bool closed = false;  // the last group ended a section
    while (stream.Next(g)) {
      if (g.code == 0 && !groups_.empty()) Complete();
      groups_.push_back(g);
      closed = IsSectionEnd(g);
      if (++count % kAskEvery == 0 && keepGoing && !keepGoing()) {
        outcome.lines = stream.lineNumber();
        return outcome;
      }
    }
    outcome.lines = stream.lineNumber();
    if (!stream.error().empty()) {
      outcome.error = stream.error();
      return outcome;
    }
    outcome.endMarker = stream.sawEndMarker();
    // A file whose last section is closed is whole but for its end marker; anything else
    // stopped in the middle.
    if (!outcome.endMarker && !closed) {
      outcome.error = "the file is cut short: it ends at line " + std::to_string(outcome.lines) +
                      " inside a section, before its end marker (0 EOF)";
      return outcome;
    }
    if (!groups_.empty()) Complete();
    CloseEntity(static_cast<uint32_t>(text_.size()));
    decoder_.Finish();
    outcome.ok = true;
    outcome.sawEntities = sawEntities_;
    outcome.lastSection = lastSection_;
    return outcome;
  }

 private:
  // The value of the first group with the code in the entity, trimmed.
  std::string_view Lookup(int code) const {
    for (size_t i = 1; i < groups_.size(); ++i) {
      if (groups_[i].code == code) return Trimmed(groups_[i].value);
    }
    return {};
  }

  // The entity in groups_ is whole: note it, decide what it is, decode it.
  void Complete() {
    if (groups_.front().code == 0) {
      type_.assign(Trimmed(groups_.front().value));
      for (char& c : type_) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
      }
      NoteEntity(groups_.front().offset);
      decoder_.EndParts(type_);
      Take();
    }
    groups_.clear();
  }

  void CloseEntity(uint32_t at) {
    if (open_) model_.entities.back().end = at;
    open_ = false;
  }

  // Keeps where each entity of the ENTITIES section lies and its handle; its parts (vertices,
  // attributes, the end of a sequence) belong to the entity before them.
  void NoteEntity(uint32_t offset) {
    const bool inEntities = section_ == "ENTITIES";
    if (inEntities && open_ && IsSubEntity(type_)) return;  // source_ stays the entity's
    CloseEntity(offset);
    source_ = -1;
    if (!inEntities || type_ == "SECTION" || type_ == "ENDSEC" || type_ == "EOF") return;
    SourceEntity& e = model_.entities.emplace_back();
    e.begin = e.end = offset;
    const std::string_view handle = Lookup(5);
    if (!handle.empty() && handle.size() <= 16) {
      e.handleAt = static_cast<uint32_t>(handle.data() - text_.data());
      e.handleLength = static_cast<uint16_t>(handle.size());
    }
    open_ = true;
    source_ = static_cast<int>(model_.entities.size() - 1);
  }

  void ReadHeader() {
    std::string_view version, codePage;
    for (size_t i = 1; i + 1 < groups_.size(); ++i) {
      if (groups_[i].code != 9) continue;
      const std::string_view name = Trimmed(groups_[i].value);
      if (name == "$ACADVER") version = Trimmed(groups_[i + 1].value);
      if (name == "$DWGCODEPAGE") codePage = Trimmed(groups_[i + 1].value);
    }
    encoding_ = EncodingOf(version, codePage);
    decoder_.SetEncoding(encoding_);
  }

  void Decode() { decoder_.Decode(type_, groups_, source_); }

  // Decides what the entity is in its place, and reads it or counts it.
  void Take() {
    const std::string_view type = type_;
    if (type == "SECTION") {
      section_ = UpperCase(Lookup(2));
      block_ = nullptr;
      paperBlock_ = false;
      sawEntities_ = sawEntities_ || section_ == "ENTITIES";
      if (section_ == "HEADER") ReadHeader();
      decoder_.SetTarget(section_ == "ENTITIES" ? &model_.modelSpace : nullptr);
      return;
    }
    if (type == "ENDSEC") {
      lastSection_ = section_;
      section_.clear();
      decoder_.SetTarget(nullptr);
      return;
    }
    if (section_ == "TABLES") {
      if (type == "LAYER") decoder_.DecodeLayer(groups_);
      return;
    }
    if (section_ == "BLOCKS" && type == "BLOCK") return BeginBlock();
    if (section_ == "BLOCKS" && type == "ENDBLK") {
      block_ = nullptr;
      paperBlock_ = false;
      decoder_.SetTarget(nullptr);
      return;
    }
    if (section_.empty() && type != "EOF") {
      ++model_.modelSpace.notHeld[TypeKey(type) + " (outside any section)"];
      return;
    }
    if (section_ != "ENTITIES" && section_ != "BLOCKS") return;
    if (section_ == "BLOCKS" && !block_ && !paperBlock_) return;  // outside any block

    // The parts of a polyline or block reference go with it.
    if (IsSubEntity(type)) {
      const bool read = !skippingParts_;
      if (type == "SEQEND") skippingParts_ = false;
      if (read) Decode();
      return;
    }
    skippingParts_ = false;
    // An attribute definition is the template of the texts a block reference carries (its
    // ATTRIBs, which are read); it is not drawn itself.
    if (type == "ATTDEF") return;
    const bool paper = paperBlock_ || Lookup(67) == "1";
    if (paper || !IsReadEntityType(type)) {
      Container* counted = block_ ? block_ : &model_.modelSpace;
      ++counted->notHeld[paper ? TypeKey(type) + " (paper space)" : TypeKey(type)];
      skippingParts_ = type == "POLYLINE" || type == "INSERT";
      return;
    }
    Decode();
  }

  void BeginBlock() {
    const std::string name(Lookup(2));
    const std::string key = UpperCase(name);
    // The paper-space layouts are kept as blocks; what they hold is not model space.
    paperBlock_ = key.rfind("*PAPER_SPACE", 0) == 0;
    block_ = nullptr;
    if (!paperBlock_ && !name.empty() && !model_.blocks.count(key)) {
      auto container = std::make_unique<Container>();
      container->name = ToUtf8(DecodeValue(name, encoding_));  // for messages
      block_ = container.get();
      model_.blocks[key] = std::move(container);
    }
    // A second definition of a name is not read; the first one counts.
    decoder_.SetTarget(block_);
    if (block_) decoder_.DecodeBlock(groups_);
  }

  std::string_view text_;
  Model& model_;
  EntityDecoder decoder_;
  TextEncoding encoding_;
  std::vector<Group> groups_;  // the entity being read, its type first
  std::string type_;           // its type in capitals
  std::string section_;
  std::string lastSection_;
  bool sawEntities_ = false;
  Container* block_ = nullptr;
  bool paperBlock_ = false;
  bool skippingParts_ = false;
  bool open_ = false;  // the last entity of model_.entities still takes parts
  int source_ = -1;    // the entity of model_.entities the current one belongs to
};

}  // namespace

bool IsReadEntityType(std::string_view type) {
  for (const std::string_view t : {"LINE", "ARC", "CIRCLE", "POINT", "LWPOLYLINE", "POLYLINE",
                                   "INSERT", "TEXT", "MTEXT", "SPLINE", "ELLIPSE"}) {
    if (type == t) return true;
  }
  return false;
}

ReadOutcome ReadModel(std::string_view text, Model& model, const std::function<bool()>& keepGoing,
                      double chordTolerance, size_t mostCurveLines) {
  return Reader(text, model, chordTolerance, mostCurveLines).Run(keepGoing);
}

}  // namespace twinfind::dxf
