#pragma once
// Containers that host child schemas.
//
//   TKVMultiElement    one child, built at factory time or at first use
//   TKVMultiElementEx  children of one kind, or a one-shot child per call
//   TKVPolymorphMulti  named alternative pages, one of them current
//
// Values cross into a child through its boundary's Inputs and come back
// through the container's Outputs. A child must not destroy itself from
// inside its own output: such a request shows the self-destruction message
// and the child is kept.

#include <memory>
#include <string>
#include <vector>

#include "tabulo/runtime/schema.h"

class TKVContainer : public TObject {
public:
    std::vector<TKV_Event> Outputs;  // one per child output
    std::vector<TKV_Event> Pulls;    // pull points offered to the child
    TControl* ParentControl = nullptr;
    TObject* Owner = nullptr;

    // Output `index` of the child behind `from` fired `value`.
    virtual void ChildOutput(TKVBoundary* from, TData& value, uint16_t index);

protected:
    // Builds a child by the InitsDone rule: the child's deferred inits run at
    // once when start-up is over, else with the start-up run. record(schema)
    // stores the child first, so an init that fires back into the container
    // finds it there.
    template <class Factory, class Record>
    void BuildChild(Factory factory, Record record);
    // Runs one construction step of a child by the same rule.
    template <class Step>
    void BuildStep(Step step);
    bool IsActive(const TKVBoundary* b) const;
    static void ShowSelfDestruction();

    std::vector<TKVBoundary*> ActiveFrames;
};

class TKVMultiElement : public TKVContainer {
public:
    ~TKVMultiElement() override;

    TKVBoundary* Child = nullptr;
    bool OnDemand = false;

    void SetFactory(TMultiFactory factory);
    TMultiFactory Factory() const { return factory_; }

    void doWork(TData& value, uint16_t index);
    // Answers from the child's readable point `index`.
    void getPull(TData& value, uint16_t index);

private:
    void build();
    TMultiFactory factory_ = nullptr;
    std::unique_ptr<TClassMultiBase> schema_;
};

class TKVMultiElementEx : public TKVContainer {
public:
    ~TKVMultiElementEx() override;

    TKVBoundary* Current = nullptr;
    bool OnDemand = false;

    void SetFactory(TMultiFactory factory);
    void doWork(TData& value, uint16_t index);
    // Deletes the instance whose number is the value.
    void doDelete(TData& value, uint16_t index);
    void DeleteInstance(int n);
    int InstanceCount() const { return int(instances_.size()); }
    TKVBoundary* Instance(int n) const { return instances_[std::size_t(n)]->Boundary; }

    void ChildOutput(TKVBoundary* from, TData& value, uint16_t index) override;

private:
    TMultiFactory factory_ = nullptr;
    std::vector<std::unique_ptr<TClassMultiBase>> instances_;
};

class TKVPolymorphMulti : public TKVContainer {
public:
    ~TKVPolymorphMulti() override;

    struct Page {
        std::string Name;
        std::unique_ptr<TClassPolyBase> Schema;
        TKVEditPolyMulti* Boundary = nullptr;
        uint64_t Serial = 0;  // tells a page from a later one at the same address
        bool ContentsWaiting = false;
    };

    void RegisterPage(std::string name, TPolyFactory factory);
    TKVEditPolyMulti* Current = nullptr;

    // Pages added while this is set get their frame only (boundary and
    // name); their contents wait for BuildWaitingContents. A value for the
    // pages (select, delete) builds the waiting contents first; an add
    // delivers its value to the new page's boundary at once.
    bool ContentsLater = false;
    // Builds the contents of every waiting page, in page order, each as a
    // page built now would be (its deferred inits run at once after start-up).
    void BuildWaitingContents();
    bool ContentsWaiting() const;

    int PageCount() const { return int(pages_.size()); }
    const Page& PageAt(int n) const { return pages_[std::size_t(n)]; }
    int RegistryCount() const { return int(registry_.size()); }
    const std::string& RegistryName(int n) const { return registry_[std::size_t(n)].first; }

    virtual void Initialize() {}
    virtual void doAdd(TData& value, uint16_t index);
    virtual void doSelect(TData& value, uint16_t index);
    virtual void doDelete(TData& value, uint16_t index);
    virtual void doSelectName(TData& value, uint16_t index);
    virtual void doSelectRef(TData& value, uint16_t index);
    virtual void doDeleteRef(TData& value, uint16_t index);

    void ChildOutput(TKVBoundary* from, TData& value, uint16_t index) override;

protected:
    // Builds the registered page `name`; returns its number or -1.
    int AddPage(const std::string& name);
    // Destroys every page schema, the last built first. A derived container
    // calls this before it destroys the controls the pages live in.
    void DestroyPages();
    virtual void PageAdded(int /*n*/) {}
    virtual void PageRemoved(int /*n*/) {}
    void Select(int n, TData& value, uint16_t index);

private:
    void removePage(int n, TData& value, uint16_t index);
    int find(const void* boundary) const;

    std::vector<std::pair<std::string, TPolyFactory>> registry_;
    std::vector<Page> pages_;
    uint64_t nextSerial_ = 0;
};
