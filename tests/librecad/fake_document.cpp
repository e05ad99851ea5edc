#include "tests/librecad/fake_document.h"

namespace twinfind::librecad::testing {

// A handle on one fake entity, as LibreCAD's Plugin_Entity is on one of its own.
class FakeHandle : public Plug_Entity {
 public:
  FakeHandle(FakeDocument& doc, FakeEntity& entity, bool fresh)
      : doc_(doc), entity_(entity), fresh_(fresh) {}
  ~FakeHandle() override {
    if (fresh_ && entity_.added) ++doc_.freedWhileAdded_;
  }
  void getData(QHash<int, QVariant>* data) override {
    *data = entity_.data;
    data->insert(DPI::VISIBLE, entity_.removed ? 0 : 1);
  }
  void updateData(QHash<int, QVariant>* data) override { doc_.Update(entity_, *data); }
  void getPolylineData(QList<Plug_VertexData>* data) override { *data = entity_.vertices; }
  void updatePolylineData(QList<Plug_VertexData>* data) override { entity_.vertices = *data; }
  void move(QPointF) override {}
  void moveRotate(QPointF const&, QPointF const&, double) override {}
  void rotate(QPointF, double) override {}
  void scale(QPointF, QPointF) override {}
  QString intColor2str(int color) override { return QString::number(color); }
  FakeEntity& entity() { return entity_; }
  bool fresh() const { return fresh_; }

 private:
  FakeDocument& doc_;
  FakeEntity& entity_;
  bool fresh_;  // made by newEntity: LibreCAD's handle would own it
};

FakeDocument::FakeDocument() { layers_[QStringLiteral("0")] = FakeLayer{}; }
FakeDocument::~FakeDocument() = default;

FakeEntity& FakeDocument::Make(int type) {
  FakeEntity& e = entities_.emplace_back();
  e.data.insert(DPI::EID, nextId_++);
  e.data.insert(DPI::ETYPE, type);
  e.data.insert(DPI::LAYER, current_);
  e.data.insert(DPI::COLOR, -1);
  e.data.insert(DPI::LTYPE, QStringLiteral("BYLAYER"));
  return e;
}

qulonglong FakeDocument::AddEntity(int type, QHash<int, QVariant> data,
                                   QList<Plug_VertexData> vertices) {
  FakeEntity& e = Make(type);
  for (auto it = data.begin(); it != data.end(); ++it) e.data.insert(it.key(), it.value());
  e.vertices = std::move(vertices);
  e.added = true;
  order_.push_back(&e);
  if (!layers_.count(e.data.value(DPI::LAYER).toString()))
    layers_[e.data.value(DPI::LAYER).toString()] = FakeLayer{};
  return e.id();
}

qulonglong FakeDocument::AddLine(double x1, double y1, double x2, double y2, const QString& layer) {
  return AddEntity(DPI::LINE, {{DPI::STARTX, x1},
                               {DPI::STARTY, y1},
                               {DPI::ENDX, x2},
                               {DPI::ENDY, y2},
                               {DPI::LAYER, layer}});
}

qulonglong FakeDocument::AddCircleAt(double cx, double cy, double r, const QString& layer) {
  return AddEntity(DPI::CIRCLE,
                   {{DPI::STARTX, cx}, {DPI::STARTY, cy}, {DPI::RADIUS, r}, {DPI::LAYER, layer}});
}

std::vector<const FakeEntity*> FakeDocument::Present() const {
  std::vector<const FakeEntity*> present;
  for (const FakeEntity* e : order_) {
    if (!e->removed) present.push_back(e);
  }
  return present;
}

const FakeEntity* FakeDocument::Find(qulonglong id) const {
  for (const FakeEntity& e : entities_) {
    if (e.id() == id) return &e;
  }
  return nullptr;
}

void FakeDocument::Update(FakeEntity& entity, const QHash<int, QVariant>& changes) {
  if (!entity.added) {  // a new entity is changed in place
    for (auto it = changes.begin(); it != changes.end(); ++it)
      entity.data.insert(it.key(), it.value());
    return;
  }
  if (entity.removed) {
    ++staleUpdates_;
    return;
  }
  // LibreCAD changes a copy, which takes the entity's place at the end of the drawing.
  FakeEntity& copy = Make(entity.type());
  const QVariant id = copy.data.value(DPI::EID);
  copy.data = entity.data;
  copy.data.insert(DPI::EID, id);
  copy.vertices = entity.vertices;
  for (auto it = changes.begin(); it != changes.end(); ++it) copy.data.insert(it.key(), it.value());
  copy.added = true;
  order_.push_back(&copy);
  entity.removed = true;
}

void FakeDocument::addPoint(QPointF* start) {
  AddEntity(DPI::POINT,
            {{DPI::STARTX, start->x()}, {DPI::STARTY, start->y()}, {DPI::LAYER, current_}});
}

void FakeDocument::addLine(QPointF* start, QPointF* end) {
  AddLine(start->x(), start->y(), end->x(), end->y(), current_);
}

void FakeDocument::addCircle(QPointF* start, qreal radius) {
  AddCircleAt(start->x(), start->y(), radius, current_);
}

void FakeDocument::addText(QString txt, QString, QPointF* start, double height, double angle,
                           DPI::HAlign ha, DPI::VAlign va) {
  AddEntity(DPI::TEXT, {{DPI::TEXTCONTENT, txt},
                        {DPI::STARTX, start->x()},
                        {DPI::STARTY, start->y()},
                        {DPI::HEIGHT, height},
                        {DPI::STARTANGLE, angle},
                        {DPI::TXTALIGNH, static_cast<int>(ha)},
                        {DPI::TXTALIGNV, static_cast<int>(va)},
                        {DPI::LAYER, current_}});
}

Plug_Entity* FakeDocument::newEntity(enum DPI::ETYPE type) {
  return new FakeHandle(*this, Make(type), true);
}

void FakeDocument::addEntity(Plug_Entity* handle) {
  FakeEntity& e = static_cast<FakeHandle*>(handle)->entity();
  e.added = true;
  order_.push_back(&e);
}

void FakeDocument::removeEntity(Plug_Entity* ent) {
  static_cast<FakeHandle*>(ent)->entity().removed = true;
}

void FakeDocument::setLayer(QString name) {
  if (!layers_.count(name)) layers_[name] = FakeLayer{};
  current_ = name;
}

QStringList FakeDocument::getAllLayer() {
  QStringList names;
  for (const auto& [name, layer] : layers_) names << name;
  return names;
}

void FakeDocument::getCurrentLayerProperties(int* c, DPI::LineWidth* w, DPI::LineType* t) {
  *c = layers_[current_].color;
  *w = DPI::WidthDefault;
  *t = DPI::SolidLine;
}

void FakeDocument::getCurrentLayerProperties(int* c, QString* w, QString* t) {
  *c = layers_[current_].color;
  *w = QStringLiteral("BYDEFAULT");
  *t = layers_[current_].lineType;
}

void FakeDocument::Ask(const QString& prompt) {
  prompts.push_back(prompt);
  if (onAsk) onAsk();
}

bool FakeDocument::getPoint(QPointF* point, const QString& message, QPointF*) {
  Ask(message);
  if (points.empty()) return false;
  const std::optional<QPointF> answer = points.front();
  points.pop_front();
  if (answer) *point = *answer;
  return answer.has_value();
}

bool FakeDocument::getSelect(QList<Plug_Entity*>* sel, const QString& message) {
  Ask(message);
  if (selections.empty()) return false;
  const std::optional<std::vector<qulonglong>> answer = selections.front();
  selections.pop_front();
  if (!answer) return false;
  for (FakeEntity* e : order_) {
    if (!e->removed && std::find(answer->begin(), answer->end(), e->id()) != answer->end())
      sel->append(new FakeHandle(*this, *e, false));
  }
  return true;
}

bool FakeDocument::getAllEntities(QList<Plug_Entity*>* sel, bool visible) {
  for (FakeEntity* e : order_) {
    if (!visible || !e->removed) sel->append(new FakeHandle(*this, *e, false));
  }
  return true;
}

bool FakeDocument::getString(QString* txt, const QString& message, const QString&) {
  Ask(message);
  if (texts.empty()) return false;
  const std::optional<QString> answer = texts.front();
  texts.pop_front();
  if (answer) *txt = *answer;
  return answer.has_value();
}

}  // namespace twinfind::librecad::testing
