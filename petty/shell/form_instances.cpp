#include "petty/shell/form_instances.h"

namespace petty {

void FormInstances::releaseAll() {
    while (!forms_.empty()) forms_.pop_back();
}

FormInstances& formInstances() {
    static FormInstances instances;
    return instances;
}

}  // namespace petty
