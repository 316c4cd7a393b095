#pragma once

// Brings the system to the new day: when trading days are missing since the processing
// day, the start-up data update fetches them; then the reservations roll over, the stored
// range and the processing day are refreshed, the fixed live preset is applied and the
// averaging-down pass runs. Sets gdtLastDailyDate to today when the update completed, and
// gdtUpdateStoppedDate to today when it did not.
void getLatestData();
