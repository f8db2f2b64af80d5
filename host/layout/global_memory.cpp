#include "host/layout/global_memory.h"

#include "host/layout/layout.h"

namespace host {

void* GlobalMemory::find(const std::string& name) const {
    for (const auto& block : blocks_)
        if (block->name == name) return block->bytes.data();
    return nullptr;
}

void* GlobalMemory::create(const std::string& name, int size) {
    if (void* existing = find(name)) return existing;
    auto block = std::make_unique<Block>();
    block->name = name;
    // One byte at least, so that every block has an address of its own.
    block->bytes.assign(size > 0 ? static_cast<std::size_t>(size) : 1u, 0);
    blocks_.push_back(std::move(block));
    return blocks_.back()->bytes.data();
}

const GlobalMemory::Block* GlobalMemory::blockAt(const void* chunk) const {
    for (const auto& block : blocks_)
        if (block->bytes.data() == chunk) return block.get();
    return nullptr;
}

namespace {

GlobalMemory& memory() { return Layout::active()->globalMemory; }

void* first() {
    const auto& blocks = memory().blocks();
    return blocks.empty() ? nullptr : blocks.front()->bytes.data();
}

void* next(void* chunk) {
    const auto& blocks = memory().blocks();
    for (std::size_t i = 0; i + 1 < blocks.size(); ++i)
        if (blocks[i]->bytes.data() == chunk) return blocks[i + 1]->bytes.data();
    return nullptr;
}

const char* id(void* chunk) {
    const GlobalMemory::Block* block = memory().blockAt(chunk);
    return block ? block->name.c_str() : nullptr;
}

int size(void* chunk) {
    const GlobalMemory::Block* block = memory().blockAt(chunk);
    return block ? static_cast<int>(block->bytes.size()) : 0;
}

void* find(const char* name) {
    Layout::active()->log.record("find", nullptr, 0, 0.0, name ? name : "(null)");
    return name ? memory().find(name) : nullptr;
}

void* create(const char* name, int bytes) {
    Layout::active()->log.record("create", nullptr, bytes, 0.0, name ? name : "(null)");
    return name ? memory().create(name, bytes) : nullptr;
}

LWGlobalPool record = {first, next, id, size, find, create};

}  // namespace

LWGlobalPool* globalPoolRecord() { return &record; }

}  // namespace host
