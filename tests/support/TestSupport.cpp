#include "TestSupport.h"

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

ScratchDir::ScratchDir()
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
