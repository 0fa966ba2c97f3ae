#pragma once

#include <QObject>
#include <QString>

class QLineEdit;

namespace vexa::editors {

/// What a box says of a text that the readers of the files take as 0.
inline constexpr const char* kNotANumberText = "Not a number: this value is read as 0";

/// True when \p text begins (after blanks) with a decimal number, as the
/// readers of limits and coefficients see it; "12 V" does, "abc" and an
/// empty text do not.
bool ReadsAsNumber(const QString& text);

/// Watches an edit box whose text is stored as typed but read as a number:
/// while the text is no number the box has a red frame, and its tooltip and
/// accessible description say "Not a number: this value is read as 0". The
/// box keeps any text; nothing is refused.
class NumberBox : public QObject {
    Q_OBJECT
public:
    /// Whether a box left empty (or blank) is flagged: a coefficient reads
    /// it as 0, while an alarm limit left empty keeps its default.
    enum class EmptyText { Flagged, Accepted };

    /// Watches \p box for as long as it lives (the watcher is its child).
    static NumberBox* Watch(QLineEdit& box, EmptyText empty = EmptyText::Flagged);

    /// True while the box shows the warning.
    bool isFlagged() const { return m_flagged; }

private:
    NumberBox(QLineEdit& box, EmptyText empty);
    void check();

    QLineEdit& m_box;
    EmptyText m_empty;
    bool m_flagged = false;
};

}  // namespace vexa::editors
