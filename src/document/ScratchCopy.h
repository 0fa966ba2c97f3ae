#pragma once

#include <memory>
#include <string>

class QWidget;

namespace vexa {

/// The three definition editors, each with its own refusal text.
enum class EditorKind { Graphs, Views, Measurements };

/// The copy a definition editor works on: made from the working copy when
/// the editor starts, copied back over it only when the user confirms, and
/// deleted when the editor ends.
class ScratchCopy {
public:
    /// Forms the scratch path beside \p workingCopy, asks before overwriting
    /// a file that is there, and copies the working copy to it. Nothing when
    /// the user refused or the copy failed (the user has been told); the
    /// editor must not start then.
    static std::unique_ptr<ScratchCopy> Begin(QWidget* owner, EditorKind kind,
                                              const std::string& workingCopy);

    ~ScratchCopy();
    ScratchCopy(const ScratchCopy&) = delete;
    ScratchCopy& operator=(const ScratchCopy&) = delete;

    /// Where the editor reads and writes.
    const std::string& path() const { return m_path; }

    /// The editor's OK: when \p changed, flushes the scratch copy and copies it
    /// back over the working copy. True when the working copy now holds the
    /// changes; false when nothing changed or the copy failed (then the
    /// working copy is as it was, and the user has been told).
    bool commit(QWidget* owner, bool changed);

private:
    ScratchCopy(std::string path, std::string workingCopy);

    std::string m_path;
    std::string m_workingCopy;
};

}  // namespace vexa
