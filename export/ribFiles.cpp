#include "export/ribFiles.h"

#include "export/outputFile.h"

#include <algorithm>
#include <cctype>
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

std::string archivePath(const std::string& folder, const std::string& mainPath,
                        const std::string& nodeName) {
    std::string safe;
    for (const char c : nodeName)
        safe += std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' ? c : '_';
    return folder + fileNameOf(mainPath) + "." + safe + ".rib";
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

bool exportFeatherRib(const std::string& path, const std::vector<featherExportNode>& nodes,
                      const ribSettings& settings, std::string* why) {
    const std::string problem = ribSettingsProblem(settings, nodes);
    if (!problem.empty()) {
        *why = "cannot write '" + path + "': " + problem;
        return false;
    }
    if (!settings.delayReadArchive) {
        const bool written = writeFileAtomically(
            path, settings.gzipCompression,
            [&](std::ostream& out) { return writeFeatherRib(out, nodes, settings); }, why);
        if (!written)
            *why = "cannot write '" + path + "': " + *why;
        return written;
    }

    const std::string folder = archiveFolder(settings.tempFileDir, path);
    std::vector<std::string> archives;
    const auto giveUp = [&](const std::string& file, const std::string& reason) {
        *why = "cannot write '" + file + "': " + reason;
        if (settings.deleteTempFile)
            for (const std::string& archive : archives)
                std::remove(archive.c_str());
        return false;
    };
    for (const featherExportNode& node : nodes) {
        std::string archive = archivePath(folder, path, node.name);
        // Names that differ only in characters made safe ("a:b", "a_b") would share a file.
        for (int copy = 2; std::find(archives.begin(), archives.end(), archive) != archives.end();
             ++copy)
            archive = archivePath(folder, path, node.name + "_" + std::to_string(copy));
        std::string reason;
        if (!writeFileAtomically(
                archive, settings.gzipCompression,
                [&](std::ostream& out) {
                    out << "##RenderMan RIB\n# quillo feathers of " << node.name << '\n';
                    writeNodeRib(out, node, settings);
                    return out.good();
                },
                &reason))
            return giveUp(archive, reason);
        archives.push_back(archive);
    }
    std::string reason;
    const bool written = writeFileAtomically(
        path, settings.gzipCompression,
        [&](std::ostream& out) {
            out << "##RenderMan RIB\n# quillo feathers, world space, one archive per node\n";
            for (size_t n = 0; n < nodes.size(); ++n)
                writeDelayedArchiveRib(out, nodes[n].name,
                                       archiveReference(archives[n], path, settings.relativePath),
                                       ribNodeBound(nodes[n]));
            return out.good();
        },
        &reason);
    return written || giveUp(path, reason);
}
