// A Document_Interface of our own for the adapter's tests: a list of entities in the order they
// were made, with LibreCAD's ways where the adapter depends on them (an entity is numbered when
// it is made; an update replaces the entity by a recoloured copy at the end; a removed entity
// stays, taken back; a new entity's handle owns it until it is added), and the user's answers
// to the selections, points and texts given in advance.
#ifndef TESTS_LIBRECAD_FAKE_DOCUMENT_H
#define TESTS_LIBRECAD_FAKE_DOCUMENT_H

#include <document_interface.h>

#include <QHash>
#include <QString>
#include <QVariant>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace twinfind::librecad::testing {

struct FakeEntity {
  QHash<int, QVariant> data;        // DPI keys, as getData gives them (EID, ETYPE, LAYER, ...)
  QList<Plug_VertexData> vertices;  // a polyline's
  bool removed = false;
  bool added = false;  // in the drawing
  qulonglong id() const { return data.value(DPI::EID).toULongLong(); }
  int type() const { return data.value(DPI::ETYPE).toInt(); }
};

struct FakeLayer {
  int color = 0xFFFFFF;
  QString lineType = QStringLiteral("SolidLine");
};

class FakeDocument : public Document_Interface {
 public:
  FakeDocument();
  ~FakeDocument() override;

  // The drawing: entities added as LibreCAD holds them (ByLayer look unless given).
  qulonglong AddLine(double x1, double y1, double x2, double y2, const QString& layer = "0");
  qulonglong AddCircleAt(double cx, double cy, double r, const QString& layer = "0");
  qulonglong AddEntity(int type, QHash<int, QVariant> data, QList<Plug_VertexData> vertices = {});
  void AddLayer(const QString& name, FakeLayer layer) { layers_[name] = layer; }

  // The entities in the drawing now (not removed), in order.
  std::vector<const FakeEntity*> Present() const;
  const FakeEntity* Find(qulonglong id) const;
  // Handles deleted while their new entity was in the drawing (LibreCAD would delete it).
  int freedWhileAdded() const { return freedWhileAdded_; }
  // Updates of entities that were already replaced or removed (LibreCAD would revive them).
  int staleUpdates() const { return staleUpdates_; }

  // The user's answers, taken in order: a selection (entity ids; nothing: given up), a point
  // (nothing: the right button), a text (nothing: Cancel). `onAsk` sees each prompt first.
  std::deque<std::optional<std::vector<qulonglong>>> selections;
  std::deque<std::optional<QPointF>> points;
  std::deque<std::optional<QString>> texts;
  std::vector<QString> prompts;
  std::function<void()> onAsk;

  // Document_Interface.
  void updateView() override {}
  void addPoint(QPointF* start) override;
  void addLine(QPointF* start, QPointF* end) override;
  void addText(QString txt, QString sty, QPointF* start, double height, double angle,
               DPI::HAlign ha, DPI::VAlign va) override;
  void addCircle(QPointF* start, qreal radius) override;
  void addArc(QPointF*, qreal, qreal, qreal) override {}
  void addEllipse(QPointF*, QPointF*, qreal, qreal, qreal) override {}
  void addLines(std::vector<QPointF> const&, bool) override {}
  void addPolyline(std::vector<Plug_VertexData> const&, bool) override {}
  void addSplinePoints(std::vector<QPointF> const&, bool) override {}
  void addImage(int, QPointF*, QPointF*, QPointF*, int, int, QString, int, int, int) override {}
  void addInsert(QString, QPointF, QPointF, qreal) override {}
  QString addBlockfromFromdisk(QString) override { return {}; }
  void addEntity(Plug_Entity* handle) override;
  Plug_Entity* newEntity(enum DPI::ETYPE type) override;
  void removeEntity(Plug_Entity* ent) override;
  void setLayer(QString name) override;
  QString getCurrentLayer() override { return current_; }
  QStringList getAllLayer() override;
  QStringList getAllBlocks() override { return {}; }
  bool deleteLayer(QString) override { return false; }
  void getCurrentLayerProperties(int* c, DPI::LineWidth* w, DPI::LineType* t) override;
  void getCurrentLayerProperties(int* c, QString* w, QString* t) override;
  void setCurrentLayerProperties(int, DPI::LineWidth, DPI::LineType) override {}
  void setCurrentLayerProperties(int, QString const&, QString const&) override {}
  bool getPoint(QPointF* point, const QString& message, QPointF* base) override;
  Plug_Entity* getEnt(const QString&) override { return nullptr; }
  bool getSelect(QList<Plug_Entity*>* sel, const QString& message) override;
  bool getAllEntities(QList<Plug_Entity*>* sel, bool visible) override;
  bool getVariableInt(const QString&, int*) override { return false; }
  bool getVariableDouble(const QString&, double*) override { return false; }
  bool addVariable(const QString&, int, int) override { return false; }
  bool addVariable(const QString&, double, int) override { return false; }
  bool getInt(int*, const QString&, const QString&) override { return false; }
  bool getReal(qreal*, const QString&, const QString&) override { return false; }
  bool getString(QString* txt, const QString& message, const QString& title) override;
  QString realToStr(const qreal num, const int, const int) override { return QString::number(num); }

 private:
  friend class FakeHandle;
  FakeEntity& Make(int type);
  void Ask(const QString& prompt);
  void Update(FakeEntity& entity, const QHash<int, QVariant>& changes);

  std::deque<FakeEntity> entities_;  // in the order made; they stay where they are
  std::vector<FakeEntity*> order_;   // in the order added to the drawing
  std::map<QString, FakeLayer> layers_;
  QString current_ = QStringLiteral("0");
  qulonglong nextId_ = 100;
  int freedWhileAdded_ = 0;
  int staleUpdates_ = 0;
};

}  // namespace twinfind::librecad::testing

#endif  // TESTS_LIBRECAD_FAKE_DOCUMENT_H
