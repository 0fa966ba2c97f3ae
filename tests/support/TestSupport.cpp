#include "TestSupport.h"

#include <QCoreApplication>
#include <QDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace vexa::test {

ScriptedMessages::ScriptedMessages()
    : MessageRecorder([](const QString& what) { ADD_FAILURE() << what.toStdString(); })
{
}

ScriptedFileDialogs::ScriptedFileDialogs()
    : FileDialogRecorder([](const QString& what) { ADD_FAILURE() << what.toStdString(); })
{
}

// No "-" in the name: the display program's command-line options are found
// anywhere in the line, so a "-f" or "-v" in a random directory name would
// make tests that start it with a path fail now and then.
ScratchDir::ScratchDir() : m_dir(QDir::tempPath() + QStringLiteral("/vexa%1XXXXXX").arg(QCoreApplication::applicationPid()))
{
    EXPECT_TRUE(m_dir.isValid());
}

std::string ScratchDir::path(const std::string& name) const
{
    std::string result = m_dir.path().toStdString() + "/";
    return result + name;
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << "cannot write " << path;
}

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool FileExists(const std::string& path)
{
    std::error_code ignored;
    return std::filesystem::exists(path, ignored);
}

}  // namespace vexa::test

void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}
