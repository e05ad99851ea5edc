// What each of the plug-in's entries in LibreCAD's Plugins menu does.
#ifndef LIBRECAD_LC_ENTRIES_H
#define LIBRECAD_LC_ENTRIES_H

#include <QString>
#include <QWidget>

class Document_Interface;

namespace twinfind::librecad {

class CommandLine;

enum class Entry {
  kCommand,   // the command, from its first prompt
  kSurvey,    // the drawing's families in a dialog; the one chosen goes to the command
  kSettings,  // the settings dialog
};

// The menu entries' names, which LibreCAD hands back when one is chosen.
QString EntryName(Entry entry);
// The entry of a name; the command for a name of none.
Entry EntryOf(const QString& name);

void RunEntry(Document_Interface& doc, QWidget* window, Entry entry, CommandLine& line);

}  // namespace twinfind::librecad

#endif  // LIBRECAD_LC_ENTRIES_H
