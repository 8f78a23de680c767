#include "platform/table/DataSource.h"

#include "platform/ui/Guard.h"

#include "platform/table/Table.h"

namespace Db {

DataSource::DataSource(QObject *parent) : QObject(parent) {}

DataSource::~DataSource()
{
    if (table_)
        table_->detachDataSource(this);
}

void DataSource::setDataSet(Table *table)
{
    if (table_ == table)
        return;
    if (table_)
        table_->detachDataSource(this);
    table_ = table;
    if (table_)
        table_->attachDataSource(this);
    emit stateChange();
}

void DataSource::setEnabled(bool enabled)
{
    if (enabled_ == enabled)
        return;
    enabled_ = enabled;
    emit stateChange();
    if (enabled_)
        emit dataChange();
}

void DataSource::notifyDataChange()
{
    if (enabled_)
        emit dataChange();
}

void DataSource::notifyLayoutChange()
{
    if (enabled_)
        emit layoutChange();
}

Detached::Detached(std::initializer_list<DataSource *> sources) : sources_(sources)
{
    for (DataSource *s : sources_)
        s->setEnabled(false);
}

Detached::~Detached()
{
    for (DataSource *s : sources_)
        Ui::runRestoring([s] { s->setEnabled(true); });
}

} // namespace Db
