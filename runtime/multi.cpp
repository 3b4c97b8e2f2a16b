#include "tabulo/runtime/multi.h"

#include <algorithm>

#include "tabulo/runtime/init_queue.h"
#include "tabulo/runtime/message.h"

namespace {
void fireAt(const std::vector<TKV_Event>& points, uint16_t index, TData& value) {
    if (index < points.size()) Fire(points[index], value);
}

void fireCopyAt(const std::vector<TKV_Event>& points, uint16_t index, const TData& value) {
    if (index < points.size()) FireCopy(points[index], value);
}

// Pushes a child on the active stack for the duration of one output call.
class ActiveFrame {
public:
    ActiveFrame(std::vector<TKVBoundary*>& frames, TKVBoundary* b) : frames_(frames) {
        frames_.push_back(b);
    }
    ~ActiveFrame() { frames_.pop_back(); }
    ActiveFrame(const ActiveFrame&) = delete;
    ActiveFrame& operator=(const ActiveFrame&) = delete;

private:
    std::vector<TKVBoundary*>& frames_;
};
}  // namespace

// ---- TKVContainer -----------------------------------------------------------

void TKVContainer::ChildOutput(TKVBoundary*, TData& value, uint16_t index) {
    fireAt(Outputs, index, value);
}

template <class Step>
void TKVContainer::BuildStep(Step step) {
    const bool wasDone = InitsDone();
    SetInitsDone(false);
    struct Restore {
        bool done;
        ~Restore() {
            if (!InitsDone()) SetInitsDone(done);
        }
    } restore{wasDone};
    step();
    if (wasDone) RunInits();
}

template <class Factory, class Record>
void TKVContainer::BuildChild(Factory factory, Record record) {
    BuildStep([&] {
        auto schema = factory(this, ParentControl, Owner);
        if (schema && schema->Boundary) {
            schema->Boundary->Container = this;
            schema->Boundary->Schema = schema.get();
        }
        record(std::move(schema));
    });
}

bool TKVContainer::IsActive(const TKVBoundary* b) const {
    return std::find(ActiveFrames.begin(), ActiveFrames.end(), b) != ActiveFrames.end();
}

void TKVContainer::ShowSelfDestruction() {
    ShowMessage("String-Debug", "Self destruction is not allowed !!!");
}

// ---- TKVMultiElement --------------------------------------------------------

TKVMultiElement::~TKVMultiElement() {
    Child = nullptr;
    schema_.reset();
}

void TKVMultiElement::SetFactory(TMultiFactory factory) {
    factory_ = factory;
    if (!OnDemand) build();
}

void TKVMultiElement::build() {
    if (!factory_ || schema_) return;
    BuildChild(factory_, [this](std::unique_ptr<TClassMultiBase> schema) {
        schema_ = std::move(schema);
        Child = schema_ ? schema_->Boundary : nullptr;
    });
}

void TKVMultiElement::doWork(TData& value, uint16_t index) {
    if (!Child) build();
    if (Child) fireAt(Child->Inputs, index, value);
}

void TKVMultiElement::getPull(TData& value, uint16_t index) {
    if (Child && index < Child->Pulls.size())
        ReadRaw(value, Child->Pulls[index]);
    else
        value.Tag = dtBreak;
}

// ---- TKVMultiElementEx ------------------------------------------------------

TKVMultiElementEx::~TKVMultiElementEx() {
    for (int n = InstanceCount() - 1; n >= 0; --n) DeleteInstance(n);
}

void TKVMultiElementEx::SetFactory(TMultiFactory factory) {
    factory_ = factory;
    if (OnDemand || !factory_) return;
    BuildChild(factory_, [this](std::unique_ptr<TClassMultiBase> schema) {
        if (!schema) return;
        Current = schema->Boundary;
        instances_.push_back(std::move(schema));
    });
}

void TKVMultiElementEx::doWork(TData& value, uint16_t index) {
    if (Current) {
        fireAt(Current->Inputs, index, value);
        return;
    }
    if (!factory_) return;
    // A one-shot child: built for this call and destroyed when it returns.
    std::unique_ptr<TClassMultiBase> schema;
    BuildChild(factory_,
               [&](std::unique_ptr<TClassMultiBase> built) { schema = std::move(built); });
    if (schema && schema->Boundary) fireAt(schema->Boundary->Inputs, index, value);
}

void TKVMultiElementEx::doDelete(TData& value, uint16_t) {
    DeleteInstance(AsInt(value));
}

void TKVMultiElementEx::DeleteInstance(int n) {
    if (n < 0 || n >= InstanceCount()) return;
    TKVBoundary* b = instances_[std::size_t(n)]->Boundary;
    if (IsActive(b)) {
        ShowSelfDestruction();
        return;
    }
    if (Current == b) Current = nullptr;
    auto doomed = std::move(instances_[std::size_t(n)]);
    instances_.erase(instances_.begin() + n);
    doomed.reset();
}

void TKVMultiElementEx::ChildOutput(TKVBoundary* from, TData& value, uint16_t index) {
    ActiveFrame frame(ActiveFrames, from);
    fireAt(Outputs, index, value);
}

// ---- TKVPolymorphMulti ------------------------------------------------------

TKVPolymorphMulti::~TKVPolymorphMulti() {
    DestroyPages();
}

void TKVPolymorphMulti::DestroyPages() {
    Current = nullptr;
    while (!pages_.empty()) pages_.pop_back();
}

void TKVPolymorphMulti::RegisterPage(std::string name, TPolyFactory factory) {
    registry_.emplace_back(std::move(name), factory);
}

int TKVPolymorphMulti::AddPage(const std::string& name) {
    auto it = std::find_if(registry_.begin(), registry_.end(),
                           [&](const auto& r) { return r.first == name; });
    if (it == registry_.end() || !it->second) return -1;
    uint64_t serial = 0;
    const TPolyFactory factory = it->second;
    const bool later = ContentsLater;
    auto build = [factory, later](TKVContainer* container, TControl* parent, TObject* owner) {
        std::unique_ptr<TClassPolyBase> schema = factory(container, parent, owner);
        if (schema && !later) schema->BuildContents();
        return schema;
    };
    BuildChild(build, [&](std::unique_ptr<TClassPolyBase> schema) {
        if (!schema) return;
        TKVEditPolyMulti* boundary = schema->Boundary;
        serial = ++nextSerial_;
        pages_.push_back(Page{name, std::move(schema), boundary, serial, later});
        PageAdded(PageCount() - 1);
    });
    // The page's inits may have added or deleted pages: look it up again.
    for (std::size_t n = 0; serial && n < pages_.size(); ++n)
        if (pages_[n].Serial == serial) return int(n);
    return -1;
}

void TKVPolymorphMulti::BuildWaitingContents() {
    // A page's contents may add or delete pages: look for the next waiting
    // page afresh each time.
    for (;;) {
        auto it = std::find_if(pages_.begin(), pages_.end(),
                               [](const Page& p) { return p.ContentsWaiting; });
        if (it == pages_.end()) return;
        it->ContentsWaiting = false;
        TClassPolyBase* schema = it->Schema.get();
        BuildStep([schema] { schema->BuildContents(); });
    }
}

bool TKVPolymorphMulti::ContentsWaiting() const {
    return std::any_of(pages_.begin(), pages_.end(),
                       [](const Page& p) { return p.ContentsWaiting; });
}

void TKVPolymorphMulti::doAdd(TData& value, uint16_t index) {
    const int n = AddPage(AsText(value).str());
    if (n >= 0 && pages_[std::size_t(n)].Boundary)
        fireCopyAt(pages_[std::size_t(n)].Boundary->Inputs, index, value);
}

void TKVPolymorphMulti::Select(int n, TData& value, uint16_t index) {
    BuildWaitingContents();
    Current = nullptr;
    if (n < 0 || n >= PageCount()) return;
    Current = pages_[std::size_t(n)].Boundary;
    if (Current) fireAt(Current->Inputs, index, value);
}

void TKVPolymorphMulti::doSelect(TData& value, uint16_t index) {
    Select(AsInt(value), value, index);
}

void TKVPolymorphMulti::doSelectName(TData& value, uint16_t index) {
    const std::string name(AsText(value).view());
    BuildWaitingContents();
    Current = nullptr;
    // A page's input may add or delete pages: walk the pages that matched at
    // the start, skipping those deleted on the way.
    std::vector<uint64_t> matches;
    for (const auto& page : pages_)
        if (page.Name == name) matches.push_back(page.Serial);
    for (uint64_t serial : matches) {
        auto it = std::find_if(pages_.begin(), pages_.end(),
                               [serial](const Page& p) { return p.Serial == serial; });
        if (it == pages_.end()) continue;
        Current = it->Boundary;
        if (Current) fireCopyAt(Current->Inputs, index, value);
    }
}

int TKVPolymorphMulti::find(const void* boundary) const {
    if (!boundary) return -1;
    for (std::size_t n = 0; n < pages_.size(); ++n)
        if (pages_[n].Boundary == boundary) return int(n);
    return -1;
}

void TKVPolymorphMulti::doSelectRef(TData& value, uint16_t index) {
    Select(find(value.Ref), value, index);
}

void TKVPolymorphMulti::removePage(int n, TData& value, uint16_t index) {
    TKVEditPolyMulti* b = pages_[std::size_t(n)].Boundary;
    if (IsActive(b)) {
        ShowSelfDestruction();
        return;
    }
    if (b) fireAt(b->Inputs, index, value);  // a last message to the page
    // The last message may have changed the pages; look the page up again.
    n = find(b);
    if (n < 0) return;
    if (Current == b) Current = nullptr;
    Page doomed = std::move(pages_[std::size_t(n)]);
    pages_.erase(pages_.begin() + n);
    PageRemoved(n);
}

void TKVPolymorphMulti::doDelete(TData& value, uint16_t index) {
    BuildWaitingContents();
    const int n = AsInt(value);
    if (n < 0 || n >= PageCount()) return;
    removePage(n, value, index);
}

void TKVPolymorphMulti::doDeleteRef(TData& value, uint16_t index) {
    BuildWaitingContents();
    const int n = find(value.Ref);
    if (n >= 0) removePage(n, value, index);
}

void TKVPolymorphMulti::ChildOutput(TKVBoundary* from, TData& value, uint16_t index) {
    ActiveFrame frame(ActiveFrames, from);
    fireAt(Outputs, index, value);
}
