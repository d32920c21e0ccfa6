#include "export/featherStream.h"

#include "export/featherSource.h"

#include <algorithm>
#include <atomic>
#include <functional>
#include <future>
#include <memory>
#include <new>
#include <stdexcept>
#include <system_error>

namespace {

// One chunk of slots: the text of each slot's feather and whether it built.
struct chunk {
    size_t first = 0;
    size_t count = 0;
    std::vector<textBuffer> texts;
    std::vector<unsigned char> built;
};

// Runs writing jobs one after another, each on a thread of its own when one can be started, so
// that a chunk is written while the next one builds.
class orderedWriter {
  public:
    explicit orderedWriter(std::ostream& out) : out_(out) {}
    ~orderedWriter() {
        if (pending_.valid())
            pending_.wait();
    }

    // Starts `job` once every earlier job is done.
    void then(std::function<void(std::ostream&)> job) {
        finish();
        if (failed_)
            return;
        auto run = [this, job = std::move(job)] {
            job(out_);
            if (!out_)
                failed_ = true;
        };
        try {
            pending_ = std::async(std::launch::async, run);
        } catch (const std::system_error&) {
            run(); // no thread to be had: write here
        }
    }
    // Writes `text` once every earlier job is done.
    void now(const textBuffer& text) {
        finish();
        if (!failed_ && !out_.write(text.data(), static_cast<std::streamsize>(text.size())))
            failed_ = true;
    }
    // Waits for the last job; rethrows what it threw.
    void finish() {
        if (pending_.valid())
            pending_.get();
    }
    bool failed() const { return failed_; }

  private:
    std::ostream& out_;
    std::future<void> pending_;
    std::atomic<bool> failed_{false};
};

void writeChunk(std::ostream& out, featherFileFormat& format, const chunk& c, size_t& nodeWritten) {
    textBuffer separator;
    for (size_t i = 0; i < c.count && out; ++i) {
        if (!c.built[i])
            continue;
        separator.clear();
        format.featherSeparator(separator, nodeWritten == 0);
        out.write(separator.data(), static_cast<std::streamsize>(separator.size()));
        out.write(c.texts[i].data(), static_cast<std::streamsize>(c.texts[i].size()));
        ++nodeWritten;
    }
}

} // namespace

size_t streamChunkSlots(unsigned int workers) {
    return std::clamp<size_t>(32 * static_cast<size_t>(workers), 64, 256);
}

namespace {

bool streamAll(std::ostream& out, featherFileFormat& format,
               const std::vector<featherExportNode>& nodes, const exportPart& part,
               size_t* written) {
    std::vector<std::unique_ptr<featherListSource>> lists;
    std::vector<const featherSource*> sources;
    unsigned int workers = 1;
    for (const featherExportNode& node : nodes) {
        const featherSource* source = node.source;
        if (node.feathers) {
            lists.push_back(std::make_unique<featherListSource>(*node.feathers));
            source = lists.back().get();
        }
        sources.push_back(source);
        if (source)
            workers = std::max(workers, source->workerCount());
    }
    format.prepareWorkers(workers);
    const size_t chunkSlots = streamChunkSlots(workers);

    chunk chunks[2];
    size_t chunkCount = 0, total = 0;
    size_t nodeWritten = 0; // counted by the writing jobs, one after another
    textBuffer text;
    // Declared last, so that leaving early (an exception from a source) waits for its job
    // before the chunks and the count that job uses go.
    orderedWriter writer(out);
    format.fileStart(text, part);
    writer.now(text);
    for (size_t n = 0; n < nodes.size() && !writer.failed(); ++n) {
        const featherExportNode& node = nodes[n];
        const featherSource* source = sources[n];
        const size_t slotTotal = source ? source->slotCount() : 0;
        const slotRange slots = partSlots(slotTotal, part);
        text.clear();
        format.nodeStart(text, node, n, slots, slotTotal);
        writer.now(text);

        nodeWritten = 0;
        for (size_t first = slots.first; first < slots.end && !writer.failed();
             first += chunkSlots) {
            // then() waits for each job before starting the next, so the job that wrote this
            // chunk's buffers two chunks ago is done with them.
            chunk& c = chunks[chunkCount++ % 2];
            c.first = first;
            c.count = std::min(chunkSlots, slots.end - first);
            if (c.texts.size() < c.count)
                c.texts.resize(c.count);
            c.built.assign(c.count, 0);
            source->build(first, first + c.count,
                          [&](size_t slot, const featherGeometry& feather, unsigned int worker) {
                              textBuffer& own = c.texts[slot - c.first];
                              own.clear();
                              format.feather(own, node, slot, feather, worker);
                              c.built[slot - c.first] = 1;
                          });
            writer.then([&format, &c, &nodeWritten](std::ostream& stream) {
                writeChunk(stream, format, c, nodeWritten);
            });
        }
        writer.finish();
        text.clear();
        format.nodeEnd(text, node, nodeWritten);
        writer.now(text);
        total += nodeWritten;
    }
    text.clear();
    format.fileEnd(text);
    writer.now(text);
    if (written)
        *written = total;
    return !writer.failed() && static_cast<bool>(out);
}

} // namespace

bool streamFeathers(std::ostream& out, featherFileFormat& format,
                    const std::vector<featherExportNode>& nodes, const exportPart& part,
                    size_t* written, std::string* problem) {
    std::string why;
    try {
        return streamAll(out, format, nodes, part, written);
    } catch (const std::bad_alloc&) {
        why = "not enough memory to build and write the feathers";
    } catch (const std::exception& error) {
        why = std::string("the feathers could not be built (") + error.what() + ")";
    }
    if (problem)
        *problem = why;
    return false;
}
