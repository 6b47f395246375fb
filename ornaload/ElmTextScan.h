// The search for one embedded text of an ELM file, chunk by chunk: the version text after the
// marker "SYS_VER " up to its zero byte, or the type text from the marker "ISDN(" up to and
// including its first ")". Markers and texts may cross the boundary between two chunks; a text
// spans at most two chunks. Pure; one object per text and pass.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ornaload {

class ElmTextScan {
  public:
    enum class Kind { Version, Type };

    explicit ElmTextScan(Kind kind);

    // Starts again: empty text, not found, no partial marker.
    void Reset();
    // Runs the step on the next chunk of `count` bytes, which a zero byte follows
    // (chunk[count] == 0); true when the text is complete. Call only while not complete.
    bool Step(const char* chunk, std::size_t count);

    bool IsComplete() const { return m_bComplete; }
    bool IsFound() const { return m_bFound; }
    const std::string& Text() const { return m_strText; }
    // Leading characters of the marker that ended the previous chunk; -1 for none.
    int PartialCount() const { return m_nPartial; }

  private:
    // Where the text starts in the chunk once the marker is complete; npos while it is not.
    std::size_t FindMarker(const char* chunk, std::size_t count);
    // Takes the text from `from` on; true when it is complete.
    bool TakeText(const char* chunk, std::size_t count, std::size_t from);
    bool CutAfterParenthesis();

    Kind m_kind;
    std::string_view m_marker;
    std::string m_strText;
    bool m_bFound = false;
    int m_nPartial = -1;
    bool m_bComplete = false;
};

}  // namespace ornaload
