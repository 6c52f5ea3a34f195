#pragma once

#include "FillValues.h"

#include <QRegularExpression>
#include <QString>
#include <QStringList>

// A pattern for file names such as "%artist% - %title%" or
// "%track%. %title%": placeholders for the fields (%title% %artist% %album%
// %year% %comment% %genre% %track%) with the literal text between them. It
// is matched against the whole name without its extension. When a literal
// could split the name in more than one place ("A - B - C" against
// "%artist% - %title%"), each placeholder takes as little as it can and the
// last one the rest, so the title becomes "B - C".
class NamePattern {
public:
    // False with a reason for an unknown or repeated placeholder, a pattern
    // without any, or one that holds a folder separator.
    bool parse(const QString &pattern, QString &error);

    // The fields of the file's name; false when the name does not match.
    bool match(const QString &path, FillValues &values) const;

    // The name the pattern is matched against: the file's name without the
    // folder and without an extension after its last dot.
    static QString stem(const QString &path);

private:
    QRegularExpression expression_;
    QStringList fields_; // placeholder names in the order they stand
};
