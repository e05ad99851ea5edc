// Text as the reports and part lists write it: a JSON string, a CSV field.
#ifndef COMMON_TEXT_FIELDS_H
#define COMMON_TEXT_FIELDS_H

#include <string>

namespace twinfind {

// A JSON string: quoted, with quotes, backslashes and control characters escaped.
std::string JsonText(const std::string& text);

// A CSV field: quoted (quotes doubled) when it holds a comma, a quote or a line break.
std::string CsvField(const std::string& text);

}  // namespace twinfind

#endif  // COMMON_TEXT_FIELDS_H
