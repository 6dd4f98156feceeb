#include "records/employee_header.h"

#include <QHBoxLayout>
#include <QLabel>

EmployeeHeader::EmployeeHeader(QWidget *parent) : QWidget(parent)
{
    code_ = new QLabel(this);
    name_ = new QLabel(this);
    code_->setMinimumWidth(70);
    code_->setStyleSheet("color: navy;");
    name_->setStyleSheet("color: navy;");
    row_ = new QHBoxLayout(this);
    row_->setContentsMargins(4, 2, 4, 2);
    row_->addWidget(new QLabel(QStringLiteral("职工编号"), this));
    row_->addWidget(code_);
    row_->addSpacing(30);
    row_->addWidget(new QLabel(QStringLiteral("职工姓名"), this));
    row_->addWidget(name_);
    row_->addStretch();
}

void EmployeeHeader::showEmployee(const QString &code, const QString &name)
{
    code_->setText(code);
    name_->setText(name);
}

QString EmployeeHeader::code() const { return code_->text(); }
QString EmployeeHeader::name() const { return name_->text(); }
