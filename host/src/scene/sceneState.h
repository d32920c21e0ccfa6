#pragma once
// What a scene holds besides its nodes and connections, kept so that a scene file saves back
// as it was read: units, requirements, file information, commands the host only keeps
// (relationship, dataStructure, references), per-node extras (shared, UUID, plug flags), the
// addAttr details of dynamic attributes, connections that involve attributes the host does not
// define, and the selection.
//
// Entries for nodes and attributes are keyed by address and checked through weak pointers, so
// an entry never outlives its node or attribute.

#include <map>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

namespace host {

class Node;
struct AttributeDef;

struct SceneUnits {
    std::string linear = "centimeter";
    std::string angular = "degree";
    std::string time = "film";
    // Radians per unit of `angular`.
    double radiansPerAngleUnit() const;
};

// The canonical name of a linear or angular unit ("cm" -> "centimeter"); "" if unknown.
std::string linearUnitName(const std::string& text);
std::string angularUnitName(const std::string& text);

// A connection with at least one end on an attribute the host does not define (on a generic
// node, or one a known type lacks). It is kept as written; nothing flows through it.
struct RawConnection {
    std::weak_ptr<Node> source;
    std::string sourcePath; // plug path without the node, as written ("out", "lnk[0].llnk")
    std::weak_ptr<Node> destination;
    std::string destinationPath;
    bool nextAvailable = false; // written with -na (destinationPath then names the element made)
    bool locked = false;
    bool alive() const;
};

// Raw connections in the order they were made, found by destination node.
class RawConnectionList {
  public:
    void add(RawConnection connection);
    // Live connections into a node.
    std::vector<const RawConnection*> into(const Node* node) const;
    // Every live connection, in the order made.
    std::vector<const RawConnection*> all() const;
    void remove(const RawConnection* connection);
    // Forgets connections whose nodes are gone.
    void prune();

  private:
    std::map<unsigned long long, RawConnection> ordered_;
    std::unordered_multimap<const Node*, unsigned long long> byDestination_;
    unsigned long long next_ = 0;
};

// keyable / channel box state given by setAttr -k / -cb: -1 leaves the attribute's own.
struct PlugFlags {
    int keyable = -1;
    int channelBox = -1;
};

struct NodeExtras {
    bool shared = false;   // createNode -s: a node every scene has (cameras, lightLinker1)
    bool implicit = false; // a default node the file used without creating it (:time1)
    std::string uid;       // rename -uid
    std::map<std::string, PlugFlags> plugFlags; // by plug path as written
    // A node a referenced file made: its entry in SceneState::loadedReferences (-1: the
    // scene's own), and how it stood once the references were loaded and edited, so that
    // saving stores what changed since as reference edits.
    int reference = -1;
    std::weak_ptr<Node> fileParent; // the parent the file created the node under
    bool referenceBaseline = false;
    std::set<std::string> baselineValues; // setAttr lines, every value
    std::string baselineParent;
};

// A `file -r` of a read file: loaded into its namespace, or not (unloaded when saved, or its
// file not found).
struct LoadedReference {
    std::string nameSpace;     // full: "rig", "rig:geo"
    std::string referenceNode; // the reference node's name in the scene ("rigRN", "rig:geoRN")
    std::string path;          // as written
    std::string file;          // the file read; "" when not loaded
    int parent = -1;           // the reference whose file holds this one
};

// How a dynamic attribute was declared, for writing its addAttr back.
struct DynamicAttributeInfo {
    bool dataType = false;               // -dt rather than -at
    std::string typeName;                // "double3", "enum", "doubleAngle", "string", ...
    bool angle = false;                  // values are angles (stored in radians)
    bool proxy = false;                  // -uap
    int declaredChildren = -1;           // -nc: the children a compound was declared with
    std::vector<std::string> extraFlags; // flags kept as written: -bt "W000", -nn "Nice", ...
};

struct SelectionItem {
    std::weak_ptr<Node> node;
    std::string component; // ".vtx[3]" and the like, "" for the node itself
};

// A "requires" line: the plug-in, its version and the command as written.
struct Requirement {
    std::string plugin, version, text;
};

// A command of a read file that the host did not apply (it refused it, or skipped it as a
// command an untrusted file may not run), kept as written so that saving puts it back where it
// stood.
struct KeptCommand {
    enum class Place {
        kHead, // before the first node
        kNode, // in the block of `node` (after its values; an addAttr before them)
        kTail  // after the connections
    };
    std::string text; // as written, its ';' (or closing brace) included
    Place place = Place::kHead;
    std::weak_ptr<Node> node;
    bool beforeValues = false;
    std::string where; // "scene.ma line 12", for a save that cannot put it back
};

class SceneState {
  public:
    static SceneState& instance();
    // Forgets everything: File > New.
    void clear();

    SceneUnits units;
    std::string mayaVersion; // from `requires maya "..."`; "" when the scene was not read
    std::vector<Requirement> requirements;
    std::vector<std::pair<std::string, std::string>> fileInfo;
    std::vector<std::string> references;    // file -r ... commands, as written
    std::vector<std::string> relationships; // relationship commands, as written
    std::vector<std::string> dataStructures;
    std::vector<std::string> workspaceRules; // workspace -fr commands, as written
    std::vector<KeptCommand> keptCommands;
    std::vector<LoadedReference> loadedReferences;
    // Connections with a referenced end as they stood once the references were loaded ("from
    // to", plug names as written back).
    std::set<std::string> referenceBaselineConnections;
    // Scene nodes under referenced parents then ("child parent").
    std::set<std::string> referenceBaselineParents;
    // The referenced nodes at that moment, with their names, to tell which have been deleted.
    std::vector<std::pair<std::weak_ptr<Node>, std::string>> referencedNodes;
    // What read files held that cannot be saved back (text the reader could not split into
    // commands), said when the scene is saved.
    std::vector<std::string> unkeptText;
    RawConnectionList rawConnections;
    std::vector<SelectionItem> selection;
    std::string currentFile;

    NodeExtras* extras(const Node* node, bool create);
    DynamicAttributeInfo* attributeInfo(const AttributeDef* attribute, bool create);

  private:
    std::map<const Node*, std::pair<std::weak_ptr<const Node>, NodeExtras>> nodes_;
    std::map<const AttributeDef*,
             std::pair<std::weak_ptr<const AttributeDef>, DynamicAttributeInfo>>
        attributes_;
};

} // namespace host
