// The stand-in's services are reached through context-free functions, as the
// host's are, so each kind has one active object: the most recently made or
// activated one that still lives. When it goes, the one before it is active
// again.
#pragma once

#include <algorithm>
#include <vector>

namespace host {

template <class T>
class Activatable {
public:
    static T* active() { return live().empty() ? nullptr : live().back(); }
    void makeActive() {
        auto& all = live();
        all.erase(std::remove(all.begin(), all.end(), self()), all.end());
        all.push_back(self());
    }

    Activatable(const Activatable&) = delete;
    Activatable& operator=(const Activatable&) = delete;

protected:
    Activatable() { live().push_back(self()); }
    ~Activatable() {
        auto& all = live();
        all.erase(std::remove(all.begin(), all.end(), self()), all.end());
    }

private:
    T* self() { return static_cast<T*>(this); }
    static std::vector<T*>& live() {
        static std::vector<T*> all;
        return all;
    }
};

}  // namespace host
