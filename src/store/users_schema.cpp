#include "users_schema.h"

#include "store_layout.h"

namespace UsersSchema {

QStringList statements(StoreEngine::Engine engine)
{
    using StoreEngine::ColumnKind;
    static const StoreLayout::Table users = {kUsers,
                                             {{"UserId", ColumnKind::Key},
                                              {"UserName", ColumnKind::RequiredText},
                                              {"Role", ColumnKind::RequiredPlainText},
                                              {"SalesPerson", ColumnKind::Text},
                                              {"PasswordHash", ColumnKind::RequiredPlainText},
                                              {"Disabled", ColumnKind::YesNo},
                                              {"FailedAttempts", ColumnKind::Integer},
                                              {"LastFailedAt", ColumnKind::PlainText}}};
    return {
        StoreLayout::createStatement(engine, users),
        QStringLiteral("CREATE UNIQUE INDEX \"Users_UserName\" ON \"Users\"(\"UserName\")"),
        StoreLayout::addColumnStatement(engine, "Audit", {"UserName", ColumnKind::Text}),
        StoreLayout::indexStatement("Audit_UserName", "Audit", QStringLiteral("\"UserName\"")),
    };
}

} // namespace UsersSchema
