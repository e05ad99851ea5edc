#include "dxf/model_reader.h"

#include <dxflib/dl_dxf.h>

#include <locale>
#include <optional>
#include <sstream>

#include "dxf/entity_adapter.h"
#include "dxf/line_type_names.h"

namespace twinfind::dxf {
namespace {

// What dxflib is shown in place of an entity it is not to read: a type it does not know, so
// that it reports the entity before and then waits for the next.
constexpr std::string_view kSkipped = "TWINFIND_SKIPPED";
// dxflib reads a line into a buffer of 1024 bytes; longer values are cut for it (the texts
// themselves are taken from the groups, whole).
constexpr size_t kDxflibLine = 1000;

// An entity type as a count's key: printable, short, and never mistaken for "TYPE (why)".
std::string TypeKey(const std::string& type) {
  std::string key = type.substr(0, 40);
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

TextEncoding EncodingOfHeader(const std::vector<Group>& groups) {
  std::string_view version, codePage;
  for (size_t i = 0; i + 1 < groups.size(); ++i) {
    if (groups[i].code == 0 && Trimmed(groups[i].value) == "ENDSEC") break;
    if (groups[i].code != 9) continue;
    const std::string_view name = Trimmed(groups[i].value);
    if (name == "$ACADVER") version = Trimmed(groups[i + 1].value);
    if (name == "$DWGCODEPAGE") codePage = Trimmed(groups[i + 1].value);
  }
  return EncodingOf(version, codePage);
}

// Feeds dxflib one group at a time through its own reading function.
class Feeder {
 public:
  Feeder(DL_Dxf& dxf, EntityAdapter& adapter) : dxf_(dxf), adapter_(adapter) {
    std::istringstream nothing;
    dxf_.in(nothing, &adapter_);  // puts the reader into its starting state
  }
  void Feed(int code, std::string_view value) {
    text_.clear();
    text_ += std::to_string(code);
    text_ += '\n';
    text_.append(value.substr(0, kDxflibLine));
    text_ += '\n';
    stream_.clear();
    stream_.str(text_);
    dxf_.readDxfGroups(stream_, &adapter_);
  }

 private:
  DL_Dxf& dxf_;
  EntityAdapter& adapter_;
  std::istringstream stream_;
  std::string text_;
};

class Reader {
 public:
  Reader(const GroupList& list, Model& model)
      : text_(list.text),
        groups_(list.groups),
        model_(model),
        adapter_(model, EncodingOfHeader(list.groups)),
        feeder_(dxf_, adapter_) {}

  void Run() {
    size_t start = 0;  // the group that began the current entity
    for (size_t i = 0; i < groups_.size(); ++i) {
      const Group& g = groups_[i];
      if (g.code != 0) {
        if (fed_) FeedValue(g);
        continue;
      }
      // dxflib reports the entity that began at `start` when it sees this group, into the
      // container that entity belongs to; only then does the next one's container apply.
      adapter_.SetEntityGroups(std::span<const Group>(groups_).subspan(start, i - start));
      adapter_.SetSource(startSource_);
      const std::string type = UpperCase(Trimmed(g.value));
      newTarget_.reset();
      NoteEntity(type, i);
      Begin(type, i);
      feeder_.Feed(0, fed_ ? std::string_view(type) : kSkipped);
      if (newTarget_) adapter_.SetTarget(*newTarget_);
      if (fed_ && type == "LWPOLYLINE") {
        // dxflib makes room for the vertices group 90 announces; it is told the true number.
        size_t vertices = 0;
        for (size_t k = i + 1; k < groups_.size() && groups_[k].code != 0; ++k) {
          vertices += groups_[k].code == 10;
        }
        feeder_.Feed(90, std::to_string(vertices));
      }
      start = i;
      startSource_ = beganSource_;
      if (type == "EOF") break;
    }
    CloseEntity(static_cast<uint32_t>(text_.size()));
    adapter_.SetEntityGroups(std::span<const Group>(groups_).subspan(start));
    adapter_.SetSource(startSource_);
    feeder_.Feed(0, kSkipped);
    adapter_.SetTarget(nullptr);
  }

 private:
  // The value of the first group with the code in the entity that begins at `at`.
  std::string_view Lookup(size_t at, int code) const {
    for (size_t i = at + 1; i < groups_.size() && groups_[i].code != 0; ++i) {
      if (groups_[i].code == code) return Trimmed(groups_[i].value);
    }
    return {};
  }

  void CloseEntity(uint32_t at) {
    if (open_) model_.entities.back().end = at;
    open_ = false;
  }

  // Keeps where each entity of the ENTITIES section lies and its handle; its parts (vertices,
  // attributes, the end of a sequence) belong to the entity before them.
  void NoteEntity(const std::string& type, size_t at) {
    const bool inEntities = section_ == "ENTITIES";
    if (inEntities && open_ && IsSubEntity(type)) return;  // beganSource_ stays the entity's
    CloseEntity(groups_[at].offset);
    beganSource_ = -1;
    if (!inEntities || type == "SECTION" || type == "ENDSEC" || type == "EOF") return;
    SourceEntity& e = model_.entities.emplace_back();
    e.begin = e.end = groups_[at].offset;
    const std::string_view handle = Lookup(at, 5);
    if (!handle.empty() && handle.size() <= 16) {
      e.handleAt = static_cast<uint32_t>(handle.data() - text_.data());
      e.handleLength = static_cast<uint16_t>(handle.size());
    }
    open_ = true;
    beganSource_ = static_cast<int>(model_.entities.size() - 1);
  }

  void FeedValue(const Group& g) {
    // Newer files append an "embedded object" (group 101) to MTEXT that repeats the entity's
    // group codes with other meanings; it is not part of what we read.
    if (g.code == 101 && entityType_ == "MTEXT") embedded_ = true;
    if (embedded_) return;
    if (g.code >= 1000 || g.code == 999) return;         // extended data and comments: read by us
    if (entityType_ == "MTEXT" && g.code == 50) return;  // its angle is not used
    if (entityType_ == "LWPOLYLINE" && g.code == 90) return;  // sent from our own count
    const bool text = g.code == 1 || g.code == 3;
    feeder_.Feed(g.code, text ? g.value : Trimmed(g.value));
  }

  // Decides at the group that begins an entity whether dxflib reads it, and counts it if not.
  void Begin(const std::string& type, size_t at) {
    entityType_ = type;
    fed_ = false;
    embedded_ = false;
    if (type == "SECTION") {
      section_ = UpperCase(Lookup(at, 2));
      block_ = nullptr;
      paperBlock_ = false;
      newTarget_ = section_ == "ENTITIES" ? &model_.modelSpace : nullptr;
      return;
    }
    if (type == "ENDSEC") {
      section_.clear();
      newTarget_ = nullptr;
      return;
    }
    if (section_ == "TABLES") {
      fed_ = type == "LAYER";
      return;
    }
    if (section_ == "BLOCKS" && type == "BLOCK") return BeginBlock(at);
    if (section_ == "BLOCKS" && type == "ENDBLK") {
      fed_ = block_ != nullptr;
      block_ = nullptr;
      paperBlock_ = false;
      newTarget_ = nullptr;
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
      fed_ = !skippingParts_;
      if (type == "SEQEND") skippingParts_ = false;
      return;
    }
    skippingParts_ = false;
    // An attribute definition is the template of the texts a block reference carries (its
    // ATTRIBs, which are read); it is not drawn itself.
    if (type == "ATTDEF") return;
    const bool paper = paperBlock_ || Lookup(at, 67) == "1";
    if (paper || !IsReadEntityType(type)) {
      Container* counted = block_ ? block_ : &model_.modelSpace;
      ++counted->notHeld[paper ? TypeKey(type) + " (paper space)" : TypeKey(type)];
      skippingParts_ = type == "POLYLINE" || type == "INSERT";
      return;
    }
    fed_ = true;
  }

  void BeginBlock(size_t at) {
    const std::string name(Lookup(at, 2));
    const std::string key = UpperCase(name);
    // The paper-space layouts are kept as blocks; what they hold is not model space.
    paperBlock_ = key.rfind("*PAPER_SPACE", 0) == 0;
    block_ = nullptr;
    if (!paperBlock_ && !name.empty() && !model_.blocks.count(key)) {
      auto container = std::make_unique<Container>();
      container->name = name;
      block_ = container.get();
      model_.blocks[key] = std::move(container);
    }
    // A second definition of a name is not read; the first one counts.
    newTarget_ = block_;
    fed_ = block_ != nullptr;
  }

  std::string_view text_;
  const std::vector<Group>& groups_;
  Model& model_;
  DL_Dxf dxf_;
  EntityAdapter adapter_;
  Feeder feeder_;
  std::string section_;
  std::string entityType_;
  Container* block_ = nullptr;
  bool paperBlock_ = false;
  bool fed_ = false;
  std::optional<Container*> newTarget_;  // the container from the next entity on
  bool skippingParts_ = false;
  bool embedded_ = false;
  bool open_ = false;     // the last entity of model_.entities still takes parts
  int beganSource_ = -1;  // the entity the group just begun belongs to
  int startSource_ = -1;  // the entity of the group dxflib reports next
};

}  // namespace

bool IsReadEntityType(std::string_view type) {
  for (const std::string_view t :
       {"LINE", "ARC", "CIRCLE", "POINT", "LWPOLYLINE", "POLYLINE", "INSERT", "TEXT", "MTEXT"}) {
    if (type == t) return true;
  }
  return false;
}

void ReadModel(const GroupList& groups, Model& model) {
  // dxflib reads numbers with the global locale; one with a decimal comma would misread them.
  struct ClassicLocale {
    std::locale saved = std::locale::global(std::locale::classic());
    ~ClassicLocale() { std::locale::global(saved); }
  } classic;
  Reader(groups, model).Run();
}

}  // namespace twinfind::dxf
