// qxxml.h - the whole public interface of qxxml in one include.
#pragma once

#include <qxxml/support/Export.h>
#include <qxxml/support/QxException.h>
#include <qxxml/support/SmartPtr.h>
#include <qxxml/support/QXCriticalSection.h>
#include <qxxml/support/InstanceMonitor.h>
#include <qxxml/platform/SystemTime.h>
#include <qxxml/values/FormatString.h>
#include <qxxml/values/BinaryData.h>
#include <qxxml/core/SerializationEnums.h>
#include <qxxml/core/XmlObjectBase.h>
#include <qxxml/collections/XmlCollectionBase.h>
#include <qxxml/values/ItemType.h>
#include <qxxml/values/StringFormatting.h>
#include <qxxml/values/WhitespaceUtils.h>
#include <qxxml/fastinfoset/FastInfosetContext.h>
#include <qxxml/collections/AttributeCol.h>
#include <qxxml/core/NamespaceAliasMap.h>
#include <qxxml/core/XmlSerializationContext.h>
#include <qxxml/support/QxZip.h>
#include <qxxml/xmlout/StringBuffer.h>
#include <qxxml/xmlout/TextStream.h>
#include <qxxml/xmlout/FileTextStream.h>
#include <qxxml/xmlout/BinaryStream.h>
#include <qxxml/xmlout/FileBinaryStream.h>
