// The host's drawing back into LibreCAD's. After each step of the command, what changed since
// the last look goes to LibreCAD: segments deleted are removed with their entities, segments
// recoloured have their entities recoloured, segments made (copies in rows, frames, balloons,
// texts) become LibreCAD entities on their layers. The segments the command blinks (the twins
// found) are shown by copies of their figures in a colour of their own drawn over them, taken
// away again when the blinking stops: LibreCAD's interface has no highlight of its own, and
// the twins themselves are never touched to show them.
//
// LibreCAD numbers its entities in the order it makes them and adds each at the end of the
// drawing; the interface hands back no entity it makes. So each pass notes, in order, which
// segment every entity it makes stands for, and then reads the new entities off the end of
// the drawing.
#ifndef LIBRECAD_LC_WRITER_H
#define LIBRECAD_LC_WRITER_H

#include <QString>
#include <QStringList>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "host/drawing.h"
#include "librecad/lc_reader.h"

class Document_Interface;
class Plug_Entity;

namespace twinfind::librecad {

// How a new entity is drawn: its colour (RGB, or by layer), line type, and width (empty:
// LibreCAD's default).
struct Look {
  int color;
  QString lineType;
  QString width;
};

// What the twins are shown in: a colour no host colour is, drawn wide.
inline constexpr int kHighlightRgb = 0xFF00FF;

struct WriteCounts {
  int removed = 0, restyled = 0, added = 0;  // LibreCAD entities
  int notWritten = 0;                        // figures LibreCAD has no entity for (kinds 4 and 5)
  bool lostTrack = false;  // the new entities could not be told apart: later changes miss them
};

class ChangeWriter {
 public:
  ChangeWriter(Document_Interface& doc, vexhost::Drawing& drawing, EntityMap& map)
      : doc_(doc), drawing_(drawing), map_(map) {}

  // Writes what changed since the baseline, makes the drawing as it is now the baseline, and
  // shows the blinking segments.
  WriteCounts Sync();
  // Takes the showing of the blinking segments away.
  void ClearHighlight();

  // The segments standing for the entities, each once, in drawing order; `unread` counts the
  // entities that stand for none.
  std::vector<int> SegmentsOf(const std::vector<qulonglong>& entities, int& unread) const;

 private:
  // The entities made in this pass, in order: the segment each stands for (0: highlight).
  void Made(int segment, int count) { made_.insert(made_.end(), count, segment); }
  // The segment's figures and comments as new entities; how many were made.
  int WriteSegment(const vexhost::Segment& segment, bool highlight, WriteCounts& counts);
  int WriteFigures(const std::vector<FigureRecord>& figures, const Look& look,
                   const QString& layer);
  bool AddFigure(const FigureRecord& figure, const Look& look, const QString& layer);
  bool AddPolyline(const std::vector<FigureRecord>& figures, bool closed, const Look& look,
                   const QString& layer);
  int AddComment(const vexhost::Comment& comment, const QString& layer);
  QString LayerName(int layer);
  // The handles of LibreCAD's entities by id (owned by the writer for the pass).
  std::map<qulonglong, Plug_Entity*> Handles();
  // Reads the ids of the entities made this pass off the end of the drawing.
  bool TakeMadeIds();
  void RemoveHighlight(const std::map<qulonglong, Plug_Entity*>& handles);
  void RemoveEntities(const std::vector<qulonglong>& ids,
                      const std::map<qulonglong, Plug_Entity*>& handles, WriteCounts& counts);

  Document_Interface& doc_;
  vexhost::Drawing& drawing_;
  EntityMap& map_;
  std::vector<int> made_;
  std::set<std::pair<int, int>> shown_;  // the blinking set the highlight shows
  std::vector<qulonglong> highlight_;    // its entities
  std::vector<Plug_Entity*> handles_;    // of this pass, deleted at its end
  QStringList layers_;                   // LibreCAD's layers, as far as the writer knows
};

}  // namespace twinfind::librecad

#endif  // LIBRECAD_LC_WRITER_H
