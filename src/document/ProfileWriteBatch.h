#pragma once

#include "ProfileStore.h"

#include <string>

namespace vexa {

/// While it lives, changes to one profile file stay in memory and reach the
/// disk in one write when it goes (or when the file is flushed).
class ProfileWriteBatch {
public:
    explicit ProfileWriteBatch(std::string file) : m_file(std::move(file))
    {
        profile::BeginDeferredWrites(m_file);
    }
    ~ProfileWriteBatch() { profile::EndDeferredWrites(m_file); }

    ProfileWriteBatch(const ProfileWriteBatch&) = delete;
    ProfileWriteBatch& operator=(const ProfileWriteBatch&) = delete;

private:
    std::string m_file;
};

}  // namespace vexa
