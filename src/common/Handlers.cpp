// The one place where failures of a handler turn into the error box.
#include "common/Handlers.h"

#include "common/Messages.h"
#include "data/Database.h"

namespace korv {

bool runHandler(const std::function<void()> &body)
{
    try {
        body();
        return true;
    } catch (const StaleRecordError &e) {
        msg::info(e.text());
    } catch (const DbError &e) {
        msg::error(e.text());
    } catch (const std::exception &e) {
        msg::error(QString::fromUtf8(e.what()));
    }
    return false;
}

}  // namespace korv
