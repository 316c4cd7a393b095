#pragma once

// Loads every stored setting into the settings values and records, applying the
// defaults of the catalogue, and switches averaging down off. A value that cannot be
// converted logs "レジストリエラー　コード=" with its position in the loading order and its
// name, and keeps
// the field's previous content; loading goes on. True when no value failed.
bool getRegistryAll();
