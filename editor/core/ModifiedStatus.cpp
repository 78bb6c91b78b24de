#include "editor/core/ModifiedStatus.h"

#include "editor/core/Observer.h"

namespace Brisel {

class ModifiedStatusPrivate : public Utils::Observer
{
public:
    explicit ModifiedStatusPrivate(ModifiedStatus *owner) : owner(owner) {}

    void update() override { owner->set(true); }

    ModifiedStatus *owner;
    bool flag = false;
};

ModifiedStatus::ModifiedStatus() : d(std::make_unique<ModifiedStatusPrivate>(this)) {}

ModifiedStatus::~ModifiedStatus() = default;

int ModifiedStatus::value() const { return d->flag ? 1 : 0; }

void ModifiedStatus::track(Param &param) { param.subject().attach(d.get()); }

void ModifiedStatus::setModified() { set(true); }

void ModifiedStatus::clearModified() { set(false); }

void ModifiedStatus::set(bool modified)
{
    d->flag = modified;
    notify();
}

} // namespace Brisel
