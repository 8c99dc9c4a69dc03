#pragma once

#include "navdata/PilotPoint.h"

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace tavi {

class MagDev;

// The pilot waypoints by identifier. Every lasting point has its own private-profile file
// "<IDENT>.ri2v.wpt" in the custom folder, so that it is there again at the next start;
// temporary points ("*", "#" or "&" first) live in memory only. File names are matched without
// regard to case: abc.ri2v.wpt loads as ABC and is the file ABC is written to and deleted as.
class PilotPointStore {
public:
    using LogSink = std::function<void(std::string_view line)>;
    // Ordered by character codes, a shorter ident before a longer one with the same beginning.
    using Points = std::map<std::string, PilotPoint>;

    // The variation grid sets the points' magnetic variation; skipped files are logged.
    PilotPointStore(const MagDev& magDev, LogSink log);

    // Empties the store and loads every "*.ri2v.wpt" file of the folder, which becomes the
    // folder the points are written to. A file whose name is longer than 14 characters is
    // not looked at; a file that does not hold a valid point is logged and left on disk.
    void loadFolder(const std::filesystem::path& folder);
    // Reads one file and stores its point under the ident unless the ident is already held.
    // False when the file holds no valid point.
    bool loadFile(const std::string& ident, const std::filesystem::path& file);

    // Stores a point the CDU or the FMS has made and, unless it is temporary, writes its file.
    // A point without a definition type is ignored; an ident already held keeps its point and
    // its file (remove it first to redefine it). Nothing is written before a folder is loaded.
    void add(const PilotPoint& point);
    // Holds a point of a saved flight in memory only; an ident already held keeps its point.
    void restore(const PilotPoint& point) { byIdent.emplace(point.ident, point); }
    // Forgets the point and deletes its file; files of idents the store does not hold stay.
    void remove(const std::string& ident);

    // The point stored under exactly this ident, or nullptr.
    const PilotPoint* find(const std::string& ident) const;
    const Points& points() const { return byIdent; }
    const std::filesystem::path& folder() const { return customFolder; }

private:
    bool hasFile(const PilotPoint& point) const;
    void write(const PilotPoint& point) const;
    std::filesystem::path fileFor(const std::string& ident) const;

    const MagDev& magDev;
    LogSink log;
    Points byIdent;
    std::filesystem::path customFolder;
};

} // namespace tavi
