#include "export/ribFiles.h"

#include "export/featherStream.h"
#include "export/outputFile.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

std::string archiveFolder(const std::string& tempFileDir, const std::string& mainPath) {
    std::string folder;
    for (size_t i = 0; i < tempFileDir.size();) {
        std::string word = tempFileDir.substr(i, 6);
        for (char& c : word)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (word == "%temp%") {
            const char* tmp = std::getenv("TMPDIR");
            folder += tmp && *tmp ? tmp : "/tmp";
            i += 6;
        } else {
            folder += tempFileDir[i++];
        }
    }
    if (folder.empty() || folder[0] != '/')
        folder = folderOf(mainPath) + folder;
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    return folder;
}

namespace {

constexpr size_t maxNamePart = 100;

// Letters, digits, '_' and '-' (and '.' when kept) as they are, anything else as '_'; cut to
// maxNamePart bytes.
std::string safeNamePart(const std::string& text, bool keepDots) {
    std::string safe;
    for (const char c : text) {
        if (safe.size() == maxNamePart)
            break;
        const bool kept = std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' ||
                          (keepDots && c == '.');
        safe += kept ? c : '_';
    }
    return safe;
}

std::string hexText(std::uint64_t value) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
    return text;
}

// Calls `found(name, exportNumber)` for every archive of `stem` in `folder`:
// "<stem>.<digits>.<anything>.rib".
template <class Found>
void forEachArchive(const std::string& folder, const std::string& stem, Found found) {
    namespace fs = std::filesystem;
    std::error_code error;
    const std::string prefix = stem + ".";
    const std::string suffix = ".rib";
    for (fs::directory_iterator it(folder.empty() ? "." : folder, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.size() <= prefix.size() + suffix.size() ||
            name.compare(0, prefix.size(), prefix) ||
            name.compare(name.size() - suffix.size(), suffix.size(), suffix))
            continue;
        size_t digitsEnd = prefix.size();
        while (digitsEnd < name.size() && std::isdigit(static_cast<unsigned char>(name[digitsEnd])))
            ++digitsEnd;
        const size_t digits = digitsEnd - prefix.size();
        if (digits == 0 || digits > 9 || digitsEnd >= name.size() || name[digitsEnd] != '.')
            continue;
        found(name, static_cast<unsigned int>(std::stoul(name.substr(prefix.size(), digits))));
    }
}

} // namespace

std::string archiveStem(const std::string& mainPath) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::path absolute = fs::absolute(mainPath, error);
    if (!error) {
        const fs::path resolved = fs::weakly_canonical(absolute, error);
        if (!error)
            absolute = resolved;
    }
    // FNV-1a, 64 bits: stable across runs and builds, unlike std::hash.
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (const char c : absolute.string()) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ull;
    }
    return safeNamePart(fileNameOf(mainPath), true) + "." + hexText(hash);
}

std::string archivePath(const std::string& folder, const std::string& stem,
                        unsigned int exportNumber, const std::string& nodeName) {
    return folder + stem + "." + std::to_string(exportNumber) + "." +
           safeNamePart(nodeName, false) + ".rib";
}

std::vector<unsigned int> archiveExportNumbers(const std::string& folder, const std::string& stem) {
    std::vector<unsigned int> numbers;
    forEachArchive(folder, stem,
                   [&](const std::string&, unsigned int number) { numbers.push_back(number); });
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    return numbers;
}

std::string archiveReference(const std::string& archive, const std::string& mainPath,
                             bool relativePath) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path absolute = fs::weakly_canonical(fs::absolute(archive, error), error);
    if (!relativePath)
        return error ? archive : absolute.string();
    const std::string mainFolder = folderOf(mainPath);
    const fs::path base =
        fs::weakly_canonical(fs::absolute(mainFolder.empty() ? "." : mainFolder, error), error);
    const fs::path relative = absolute.lexically_relative(base);
    return error || relative.empty() ? archive : relative.string();
}

namespace {

// Streams `nodes` through `format` into the file at `path`; on failure *why says why.
bool streamRibFile(const std::string& path, featherRibFormat& format,
                   const std::vector<featherExportNode>& nodes, const exportPart& part, bool gzip,
                   size_t& written, std::string* why) {
    std::string problem;
    size_t count = 0;
    const bool done = writeFileAtomically(
        path, gzip,
        [&](std::ostream& out) {
            return streamFeathers(out, format, nodes, part, &count, &problem);
        },
        why);
    if (!done && !problem.empty())
        *why = problem;
    written += count;
    return done;
}

} // namespace

bool exportFeatherRib(const std::string& path, const std::vector<featherExportNode>& nodes,
                      const ribSettings& settings, std::string* why, const exportPart& part,
                      size_t* written) {
    size_t count = 0;
    if (!written)
        written = &count;
    *written = 0;
    const std::string problem = ribSettingsProblem(settings, nodes);
    if (!problem.empty()) {
        *why = "cannot write '" + path + "': " + problem;
        return false;
    }
    if (!settings.delayReadArchive || !part.whole()) {
        featherRibFormat format(settings);
        const bool done =
            streamRibFile(path, format, nodes, part, settings.gzipCompression, *written, why);
        if (!done)
            *why = "cannot write '" + path + "': " + *why;
        return done;
    }

    const std::string folder = archiveFolder(settings.tempFileDir, path);
    const std::string stem = archiveStem(path);
    const std::vector<unsigned int> earlier = archiveExportNumbers(folder, stem);
    const unsigned int exportNumber = earlier.empty() ? 1 : earlier.back() + 1;
    std::vector<std::string> archives;
    std::vector<MBoundingBox> bounds;
    const auto giveUp = [&](const std::string& file, const std::string& reason) {
        *why = "cannot write '" + file + "': " + reason;
        if (settings.deleteTempFile)
            for (const std::string& archive : archives)
                std::remove(archive.c_str());
        return false;
    };
    for (const featherExportNode& node : nodes) {
        std::string archive = archivePath(folder, stem, exportNumber, node.name);
        // Names that differ only in characters made safe ("a:b", "a_b") would share a file.
        for (int copy = 2; std::find(archives.begin(), archives.end(), archive) != archives.end();
             ++copy)
            archive = archivePath(folder, stem, exportNumber,
                                  safeNamePart(node.name, false).substr(0, maxNamePart - 12) + "_" +
                                      std::to_string(copy));
        std::string reason;
        featherRibFormat format(settings, node.name);
        if (!streamRibFile(archive, format, {node}, part, settings.gzipCompression, *written,
                           &reason))
            return giveUp(archive, reason);
        archives.push_back(archive);
        bounds.push_back(format.nodeBound());
    }
    std::string reason;
    const bool mainWritten = writeFileAtomically(
        path, settings.gzipCompression,
        [&](std::ostream& out) {
            out << "##RenderMan RIB\n# quillo feathers, world space, one archive per node\n";
            for (size_t n = 0; n < nodes.size(); ++n)
                writeDelayedArchiveRib(out, nodes[n].name,
                                       archiveReference(archives[n], path, settings.relativePath),
                                       bounds[n]);
            return out.good();
        },
        &reason);
    if (!mainWritten)
        return giveUp(path, reason);
    // The new main file is in place: what earlier exports of it wrote is named by nothing now.
    if (settings.deleteTempFile)
        forEachArchive(folder, stem, [&](const std::string& name, unsigned int number) {
            if (number != exportNumber)
                std::remove((folder + name).c_str());
        });
    return true;
}
