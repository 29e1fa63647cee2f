// SPDX-License-Identifier: MIT
#include "archive/ZipArchive.h"

#include <algorithm>
#include <mutex>
#include <unordered_map>

#include <minizip/unzip.h>

#include "archive/ZipEntryName.h"
#include "archive/ZipSource.h"

namespace {

// minizip reads its archive through these, over an IZipSource given as the opaque pointer.
voidpf ZCALLBACK SourceOpen(voidpf opaque, const void*, int) { return opaque; }

uLong ZCALLBACK SourceRead(voidpf, voidpf stream, void* buffer, uLong size) {
    return static_cast<uLong>(static_cast<IZipSource*>(stream)->Read(buffer, size));
}

uLong ZCALLBACK SourceWrite(voidpf, voidpf, const void*, uLong) { return 0; }

ZPOS64_T ZCALLBACK SourceTell(voidpf, voidpf stream) { return static_cast<IZipSource*>(stream)->Tell(); }

long ZCALLBACK SourceSeek(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
    auto* source = static_cast<IZipSource*>(stream);
    std::uint64_t base = 0;
    if (origin == ZLIB_FILEFUNC_SEEK_CUR) base = source->Tell();
    else if (origin == ZLIB_FILEFUNC_SEEK_END) base = source->Size();
    if (offset > UINT64_MAX - base) return -1;
    return source->Seek(base + offset) ? 0 : -1;
}

int ZCALLBACK SourceClose(voidpf, voidpf) { return 0; }  // the archive's state owns the source

int ZCALLBACK SourceError(voidpf, voidpf stream) { return static_cast<IZipSource*>(stream)->Failed() ? 1 : 0; }

constexpr std::uint16_t kStored = 0;
constexpr std::uint16_t kDeflated = 8;
constexpr uLong kEncryptedFlag = 1;
constexpr std::size_t kChunk = 64 * 1024;
constexpr std::uint64_t kReserveAtMost = std::uint64_t{64} << 20;

// Whether `size` bytes from `compressed` expand beyond what a text or a file of
// data does: deflate itself tops out just above a thousandfold.
bool ExpandsTooFar(std::uint64_t size, std::uint64_t compressed) {
    if (size <= CZipArchive::kExpansionFloor) return false;
    return compressed == 0 || size / compressed >= CZipArchive::kMaxExpansion;
}

}  // namespace

struct CZipArchive::State {
    // Where each entry's header is, and how it is stored.
    struct Place {
        unz64_file_pos position{};
        std::uint16_t method = 0;
        bool safeName = false;
    };

    std::unique_ptr<IZipSource> source;
    unzFile handle = nullptr;
    std::vector<ZipEntry> entries;
    std::vector<Place> places;
    std::unordered_map<std::string, std::size_t> byName;  // the first entry of each name
    std::mutex mutex;  // minizip's handle has one current entry

    ~State() {
        if (handle) unzClose(handle);
    }
};

CZipArchive::CZipArchive(std::unique_ptr<State> state) : m_state(std::move(state)) {}
CZipArchive::CZipArchive(CZipArchive&&) noexcept = default;
CZipArchive& CZipArchive::operator=(CZipArchive&&) noexcept = default;
CZipArchive::~CZipArchive() = default;

Result<CZipArchive> CZipArchive::Open(std::string_view utf8Path) {
    auto source = OpenZipFileSource(utf8Path);
    if (!source) return Result<CZipArchive>::FailureOf(source);
    auto state = std::make_unique<State>();
    state->source = std::move(source.Value());
    return FromState(std::move(state));
}

Result<CZipArchive> CZipArchive::FromMemory(std::string bytes) {
    auto state = std::make_unique<State>();
    state->source = MakeZipMemorySource(std::move(bytes));
    return FromState(std::move(state));
}

Result<CZipArchive> CZipArchive::FromState(std::unique_ptr<State> state) {
    using Out = Result<CZipArchive>;
    zlib_filefunc64_def functions{};
    functions.zopen64_file = SourceOpen;
    functions.zread_file = SourceRead;
    functions.zwrite_file = SourceWrite;
    functions.ztell64_file = SourceTell;
    functions.zseek64_file = SourceSeek;
    functions.zclose_file = SourceClose;
    functions.zerror_file = SourceError;
    functions.opaque = state->source.get();
    state->handle = unzOpen2_64("", &functions);
    if (!state->handle) {
        if (state->source->Failed()) return Out::Failure(ProblemCode::kCannotRead, "the file cannot be read");
        return Out::Failure(ProblemCode::kBadArchive, "not a zip archive, or its central directory is damaged");
    }

    unz_global_info64 global{};
    if (unzGetGlobalInfo64(state->handle, &global) != UNZ_OK)
        return Out::Failure(ProblemCode::kBadArchive, "the central directory is damaged");
    int status = global.number_entry == 0 ? UNZ_END_OF_LIST_OF_FILE : unzGoToFirstFile(state->handle);
    std::string name(65536, '\0');  // a name's length is 16 bits
    while (status == UNZ_OK) {
        if (state->entries.size() >= kMaxEntries)
            return Out::Failure(ProblemCode::kBadArchive, "more than " + std::to_string(kMaxEntries) + " entries");
        unz_file_info64 info{};
        if (unzGetCurrentFileInfo64(state->handle, &info, name.data(), static_cast<uLong>(name.size()), nullptr, 0,
                                    nullptr, 0) != UNZ_OK)
            break;
        State::Place place;
        if (unzGetFilePos64(state->handle, &place.position) != UNZ_OK) break;
        ZipEntry entry;
        entry.name = NormalZipEntryName(
            std::string_view(name.data(), std::min<std::size_t>(info.size_filename, name.size())));
        entry.size = info.uncompressed_size;
        entry.compressedSize = info.compressed_size;
        entry.encrypted = (info.flag & kEncryptedFlag) != 0;
        place.method = static_cast<std::uint16_t>(info.compression_method);
        place.safeName = IsSafeZipEntryName(entry.name);
        entry.supported = place.safeName && !entry.encrypted && (place.method == kStored || place.method == kDeflated);
        if (entry.name.empty() || entry.name.back() != '/') {  // a folder holds no bytes
            state->byName.emplace(entry.name, state->entries.size());
            state->entries.push_back(std::move(entry));
            state->places.push_back(place);
        }
        status = unzGoToNextFile(state->handle);
    }
    if (status != UNZ_END_OF_LIST_OF_FILE) {
        if (state->source->Failed()) return Out::Failure(ProblemCode::kCannotRead, "the file cannot be read");
        return Out::Failure(ProblemCode::kBadArchive, "the central directory is damaged or cut short");
    }
    return Out::Success(CZipArchive(std::move(state)));
}

const std::vector<ZipEntry>& CZipArchive::Entries() const {
    static const std::vector<ZipEntry> none;
    return m_state ? m_state->entries : none;
}

Result<std::string> CZipArchive::Read(std::string_view name, std::uint64_t limit) const {
    using Out = Result<std::string>;
    const std::string wanted = NormalZipEntryName(name);
    const auto fail = [&](ProblemCode code, std::string detail) {
        Problem problem = MakeProblem(code, std::move(detail));
        problem.path = wanted;
        return Out::Failure(std::move(problem));
    };
    if (!m_state) return fail(ProblemCode::kArchiveEntryMissing, "no archive");
    const auto found = m_state->byName.find(wanted);
    if (found == m_state->byName.end()) return fail(ProblemCode::kArchiveEntryMissing, "no such entry in the archive");
    const ZipEntry& entry = m_state->entries[found->second];
    State::Place place = m_state->places[found->second];

    if (!place.safeName)
        return fail(ProblemCode::kUnsafeArchiveEntry, "the entry's name leads out of the archive's folder");
    if (entry.encrypted) return fail(ProblemCode::kUnsupportedArchiveEntry, "the entry is encrypted");
    if (place.method != kStored && place.method != kDeflated)
        return fail(ProblemCode::kUnsupportedArchiveEntry,
                    "the entry is compressed by method " + std::to_string(place.method) +
                        ", not stored or deflated");
    if (entry.size > limit)
        return fail(ProblemCode::kArchiveEntryTooLarge, "the entry holds " + std::to_string(entry.size) +
                                                            " bytes, more than the " + std::to_string(limit) +
                                                            " a read may take");
    if (ExpandsTooFar(entry.size, entry.compressedSize))
        return fail(ProblemCode::kArchiveEntryTooLarge,
                    "the entry expands from " + std::to_string(entry.compressedSize) + " to " +
                        std::to_string(entry.size) + " bytes");

    std::lock_guard lock(m_state->mutex);
    unzFile handle = m_state->handle;
    if (unzGoToFilePos64(handle, &place.position) != UNZ_OK || unzOpenCurrentFile(handle) != UNZ_OK)
        return fail(ProblemCode::kBadArchive, "the entry's local header is damaged");

    // minizip gives no more than the declared size; the checks here hold whatever the header says.
    std::string bytes;
    // Room for the declared size up front, so a large SVD is not copied as it grows; a header
    // that lies costs at most kReserveAtMost before the bytes prove it.
    bytes.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(entry.size, kReserveAtMost)));
    char chunk[kChunk];
    int got = 0;
    while ((got = unzReadCurrentFile(handle, chunk, static_cast<unsigned>(kChunk))) > 0) {
        const std::uint64_t total = bytes.size() + static_cast<std::uint64_t>(got);
        if (total > limit) {
            unzCloseCurrentFile(handle);
            return fail(ProblemCode::kArchiveEntryTooLarge,
                        "the entry holds more than the " + std::to_string(limit) + " bytes a read may take");
        }
        if (ExpandsTooFar(total, entry.compressedSize)) {
            unzCloseCurrentFile(handle);
            return fail(ProblemCode::kArchiveEntryTooLarge, "the entry expands beyond a thousandfold");
        }
        bytes.append(chunk, static_cast<std::size_t>(got));
    }
    const int closed = unzCloseCurrentFile(handle);
    if (m_state->source->Failed()) return fail(ProblemCode::kCannotRead, "the file cannot be read");
    if (got < 0) return fail(ProblemCode::kBadArchive, "the entry's compressed data is damaged");
    if (bytes.size() != entry.size)
        return fail(ProblemCode::kBadArchive, "the entry ends after " + std::to_string(bytes.size()) +
                                                  " of the " + std::to_string(entry.size) +
                                                  " bytes its header declares");
    if (closed == UNZ_CRCERROR) return fail(ProblemCode::kBadArchive, "the entry's CRC does not match its bytes");
    if (closed != UNZ_OK) return fail(ProblemCode::kBadArchive, "the entry's compressed data is damaged");
    return Out::Success(std::move(bytes));
}
