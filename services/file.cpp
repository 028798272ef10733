// Files of 32-bit values, raw bytes and text lines. A created file is written
// beside its target and renamed over it on close, so a failed save never
// destroys what was there. How the system names, replaces and pushes files
// to the disk is its own side's (file_posix.cpp, file_windows.cpp).
#include <utility>

#include "numbered_table.h"
#include "paths.h"
#include "testing.h"

namespace svc {
namespace {

struct File {
    std::FILE* file = nullptr;  // open stream
    bool writing = false;       // created for writing (committed on close)
    bool failed = false;        // a write failed: the target stays as it was
    PendingSave save;           // where a created file is written and what it replaces
};

bool Finish(File& f);
void CloseOnFree(File& f, int) { Finish(f); }

// Open files; a file freed by a new open under its number, or at the end, is committed.
NumberedTable<File> files(Kind::None, CloseOnFree);
// Pushes a file's bytes to the disk; tests put a recorder in its place.
int (*syncFile)(int descriptor) = SyncToDisk;

// Finishes a file: a created one replaces its target only when all went well.
bool Finish(File& f) {
    if (!f.file) return false;
    if (!f.writing) {
        std::fclose(f.file);
        f.file = nullptr;
        return true;
    }
    bool ok = !f.failed && std::fflush(f.file) == 0 && !std::ferror(f.file);
    // On the disk before the rename makes the bytes the file.
    ok = syncFile(fileno(f.file)) == 0 && ok;
    ok = std::fclose(f.file) == 0 && ok;
    f.file = nullptr;
    return CommitSave(f.save, ok);
}

void Write(int number, const void* data, std::size_t size) {
    File* f = files.Find(number);
    if (!f || !f->writing || size == 0) return;
    if (std::fwrite(data, 1, size, f->file) != size) f->failed = true;
}

bool OpenTempBeside(const std::string& osPath, File& f) {
    f.writing = true;
    f.file = BeginSave(osPath, f.save);
    return f.file != nullptr;
}

}  // namespace

bool ReadWholeFile(const std::string& osPath, std::vector<std::uint8_t>& out, std::size_t maxBytes) {
    out.clear();
    std::FILE* f = OpenRegularFile(osPath);
    if (!f) return false;
    std::uint8_t buffer[65536];
    std::size_t n = 0;
    while (out.size() <= maxBytes && (n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        out.insert(out.end(), buffer, buffer + n);
    const bool ok = !std::ferror(f) && out.size() <= maxBytes;
    std::fclose(f);
    return ok;
}

bool WriteFileSafely(const std::string& osPath, const std::uint8_t* data, std::size_t size) {
    File f;
    if (!OpenTempBeside(osPath, f)) return false;
    if (size > 0 && std::fwrite(data, 1, size, f.file) != size) f.failed = true;
    return Finish(f);
}

void EndFiles() {
    files.Clear();
    EndSaves();
}

}  // namespace svc

void Testing_SetFileSync(int (*sync)(int descriptor)) { svc::syncFile = sync ? sync : svc::SyncToDisk; }

using namespace svc;

// The file under a number is closed (and committed) before the next one opens:
// reading back what was just written sees it.
int File_Create(int number, const std::string& path) {
    const int key = files.Claim(number);
    if (key < 0) return 0;
    File f;
    if (!OpenTempBeside(path, f)) return 0;
    return files.Store(number, key, std::move(f));
}

int File_OpenRead(int number, const std::string& path) {
    const int key = files.Claim(number);
    if (key < 0) return 0;
    File f;
    f.file = OpenRegularFile(path);
    if (!f.file) return 0;
    return files.Store(number, key, std::move(f));
}

void File_WriteLong(int number, std::int32_t value) {
    const std::uint32_t v = static_cast<std::uint32_t>(value);
    const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                                   static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
    Write(number, bytes, 4);
}

std::int32_t File_ReadLong(int number) {
    File* f = files.Find(number);
    if (!f || f->writing) return 0;
    std::uint8_t bytes[4] = {0, 0, 0, 0};
    // A value cut by the end keeps the bytes that are there.
    std::fread(bytes, 1, 4, f->file);
    const std::uint32_t v = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
    return static_cast<std::int32_t>(v);
}

void File_WriteData(int number, std::span<const std::uint8_t> data) { Write(number, data.data(), data.size()); }

int File_ReadData(int number, std::span<std::uint8_t> data) {
    File* f = files.Find(number);
    if (!f || f->writing || data.empty()) return 0;
    return static_cast<int>(std::fread(data.data(), 1, data.size(), f->file));
}

void File_WriteLine(int number, const std::string& text) {
    Write(number, text.data(), text.size());
    Write(number, "\r\n", 2);
}

std::string File_ReadLine(int number) {
    File* f = files.Find(number);
    if (!f || f->writing) return "";
    std::string line;
    for (;;) {
        const int c = std::getc(f->file);
        if (c == EOF || c == '\n' || c == 0) break;
        if (c == '\r') {
            // CR LF is one line end; after a lone CR the next byte starts the next line.
            const int next = std::getc(f->file);
            if (next != '\n' && next != EOF) std::ungetc(next, f->file);
            break;
        }
        line += static_cast<char>(c);
    }
    return line;
}

int File_Eof(int number) {
    File* f = files.Find(number);
    if (!f || f->writing) return 0;
    const int c = std::getc(f->file);
    if (c == EOF) return 1;
    std::ungetc(c, f->file);
    return 0;
}

int File_Close(int number) {
    File* f = files.Find(number);
    if (!f) return 0;
    const bool committed = Finish(*f);
    files.Free(number);
    return committed ? 1 : 0;
}

std::string ProgramDirectory() {
    char* base = SDL_GetBasePath();
    if (!base) return {};
    std::string dir = base;
    SDL_free(base);
    if (!dir.empty() && !IsPathSeparator(dir.back())) dir += '/';
    return dir;
}
