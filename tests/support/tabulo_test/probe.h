#pragma once
// Small components for tests: a probe that records what reaches it, and a
// readable source that answers with a fixed value.

#include <vector>

#include "tabulo/runtime/event.h"
#include "tabulo/runtime/object.h"

// Records every value (tag cleared of the forward flag) and index it gets.
class Probe : public TObject {
public:
    struct Hit {
        TData Value;
        uint16_t Index;
    };
    std::vector<Hit> Hits;

    void doEvent(TData& value, uint16_t index) {
        TData copy = value;
        copy.Tag &= uint8_t(~ForwardFlag);
        Hits.push_back({copy, index});
    }
    TKV_Event Link(uint16_t index = 0) { return BindEvent<&Probe::doEvent>(this, index); }
    std::size_t Count() const { return Hits.size(); }
    const TData& Last() const { return Hits.back().Value; }
    void Clear() { Hits.clear(); }
};

// A readable point that writes Answer into the request and counts requests.
class Source : public TObject {
public:
    TData Answer;
    int Reads = 0;

    void getValue(TData& value, uint16_t) {
        ++Reads;
        value = Answer;
    }
    TKV_Event Link(uint16_t index = 0) { return BindEvent<&Source::getValue>(this, index); }
};

// Installs the live dispatchers for one test and mutes them afterwards.
class LiveHooks {
public:
    LiveHooks() { InstallHooks(); }
    ~LiveHooks() { MuteHooks(); }
    LiveHooks(const LiveHooks&) = delete;
    LiveHooks& operator=(const LiveHooks&) = delete;
};
