#pragma once
// What a scene file may run while it is read. Scene files come from anywhere (artists,
// vendors, old archives) and are opened unattended, so by default a file runs only the
// commands Maya itself writes into scene files to describe a scene (the one table in
// sceneTrust.cpp). Everything else it holds (plug-in commands, eval, source, python, system,
// procedure definitions, MEL statements) is skipped and counted; the reader shows one warning
// per command name when the file is done. A trusted scene runs everything, as Maya does.
//
// Every reader of scene files asks here (opening, importing, and referenced files, which are
// read exactly as safely as the file that references them). Script nodes are data: they are
// kept and saved back whatever the switch says, and never run.

#include <string>
#include <utility>
#include <vector>

namespace host {

// The commands Maya writes into scene files, in the order of the table.
const std::vector<std::string>& sceneDescriptionCommands();
bool describesScene(const std::string& command);

// The trust switch, off until a caller turns it on (quillo --trust-scene,
// Scene::setTrustScenes).
void setTrustScenes(bool trust);
bool scenesTrusted();

// Whether a file being read runs the statement named so.
bool sceneMayRun(const std::string& command);

// The statements one file's reading skipped, by name in the order first met.
class SkippedCommands {
  public:
    void add(const std::string& name, int line);
    bool empty() const { return skipped_.empty(); }
    // One line per name: how many were skipped, where the first was, and how to allow them.
    std::vector<std::string> warnings() const;

  private:
    struct Entry {
        std::string name;
        int count = 0;
        int firstLine = 0;
    };
    std::vector<Entry> skipped_;
};

} // namespace host
