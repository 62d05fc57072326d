// libFuzzer target: journal decoding takes any bytes; what it accepts encodes back to the same
// bytes, and a menu file of any content is told apart against it without reading past an end.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "menufile/menu_journal.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::optional<menufile::Journal> journal = menufile::DecodeJournal(bytes);
    if (!journal) {
        return 0;
    }
    if (!menufile::LooksLikeJournal(bytes)) {
        std::abort();
    }
    if (journal->HasNewBytes &&
        menufile::EncodeJournal(journal->OldBytes, journal->NewBytes) != bytes) {
        std::abort();
    }
    if (menufile::ClassifyContent(journal->OldBytes, *journal) != menufile::Content::Old) {
        std::abort();
    }
    // The journal's own tail as a menu file: any answer, but no overrun.
    (void)menufile::ClassifyContent(bytes.substr(size / 2), *journal);
    return 0;
}
