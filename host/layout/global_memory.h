// "Global Memory": named blocks of memory that a module can find again for as
// long as the host process lives. A block never moves and is never freed
// before the host goes; its bytes start as zeros.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "abi/lw_host.h"

namespace host {

class GlobalMemory {
public:
    void* find(const std::string& name) const;
    // A name already in use gives that block back, at its first size.
    void* create(const std::string& name, int size);

    struct Block {
        std::string name;
        std::vector<unsigned char> bytes;
    };
    const std::vector<std::unique_ptr<Block>>& blocks() const { return blocks_; }
    const Block* blockAt(const void* chunk) const;

private:
    std::vector<std::unique_ptr<Block>> blocks_;
};

// The service record; its functions answer from Layout::active().
LWGlobalPool* globalPoolRecord();

}  // namespace host
