-- Nimbra database schema.
-- Two database files are built from this one file: the statements above the
-- working marker create the price database (Nimbra_mst.mdb), the statements
-- below it create the working database (Nimbra.mdb). The working database
-- attaches the price database at run time and reaches its tables by plain name.
-- Dates are stored as text 'YYYY-MM-DD', date-times as 'YYYY-MM-DD HH:MM:SS'.
-- Each part sets its file's layout version; a change here is also a new step of the
-- upgrade walk in src/core/modDB.cpp with that version, so existing files follow.

PRAGMA user_version = 3;

-- Stock master: every stock that the price import fetches and the screening considers.
CREATE TABLE IF NOT EXISTS tmbond (
    銘柄コード      TEXT    NOT NULL,
    会社名          TEXT,
    市場コード      TEXT    NOT NULL,
    業種名          TEXT,
    単元株数        INTEGER,
    登録日付        TEXT,
    更新日付        TEXT,
    -- 0 = screened, otherwise left out of every screening.
    対象外区分      INTEGER NOT NULL DEFAULT 0,
    -- 0 = on no caution list, 1 = delisting post, 2 = supervision post.
    管理ポスト区分  INTEGER NOT NULL DEFAULT 0,
    PRIMARY KEY (銘柄コード, 市場コード)
);

-- Market segments with their short names and display order.
CREATE TABLE IF NOT EXISTS tmmarket (
    市場コード      TEXT    NOT NULL PRIMARY KEY,
    市場名略称      TEXT,
    市場名          TEXT,
    ランク          INTEGER
);

-- Daily prices of one stock on one market and the indicators computed from them.
CREATE TABLE IF NOT EXISTS ttstocks (
    銘柄コード      TEXT    NOT NULL,
    日付            TEXT    NOT NULL,
    終値            INTEGER,
    始値            INTEGER,
    安値            INTEGER,
    高値            INTEGER,
    出来高          INTEGER,
    -- Split-adjusted close; the only price the indicators are computed from.
    調整終値        REAL,
    上昇幅          REAL    NOT NULL DEFAULT 0,
    下落幅          REAL    NOT NULL DEFAULT 0,
    -- 0 = ordinary day, 2 = day listed twice (split), 1 = split day re-imported.
    分割区分        INTEGER NOT NULL DEFAULT 0,
    登録日付        TEXT,
    -- Time of the import, then of the last indicator calculation.
    更新日付        TEXT,
    市場コード      TEXT    NOT NULL,
    短期SMA         REAL    NOT NULL DEFAULT 0,
    中期SMA         REAL    NOT NULL DEFAULT 0,
    長期SMA         REAL    NOT NULL DEFAULT 0,
    短期EMA         REAL    NOT NULL DEFAULT 0,
    中期EMA         REAL    NOT NULL DEFAULT 0,
    長期EMA         REAL    NOT NULL DEFAULT 0,
    MACD            REAL    NOT NULL DEFAULT 0,
    MACDシグナル    REAL    NOT NULL DEFAULT 0,
    RSI             REAL    NOT NULL DEFAULT 0,
    短期RCI         REAL    NOT NULL DEFAULT 0,
    中期RCI         REAL    NOT NULL DEFAULT 0,
    VRA             REAL    NOT NULL DEFAULT 0,
    VRB             REAL    NOT NULL DEFAULT 0,
    PRIMARY KEY (銘柄コード, 市場コード, 日付)
);
-- Day-wide deletes, the day change purge and the screening select by day and market.
CREATE INDEX IF NOT EXISTS ttstocks_日付_市場コード ON ttstocks (日付, 市場コード);
-- The row tests' windows over one stock's days, read from the index alone.
CREATE INDEX IF NOT EXISTS ttstocks_銘柄コード_市場コード_日付_系列
    ON ttstocks (銘柄コード, 市場コード, 日付, 調整終値, 出来高, 中期SMA, MACD);

-- Intraday prices recorded once a minute (the market average under "998407", "na").
CREATE TABLE IF NOT EXISTS tttimestocks (
    日付            TEXT    NOT NULL,
    -- Quote time "hhmm".
    時刻            TEXT    NOT NULL,
    銘柄コード      TEXT    NOT NULL,
    現在値          REAL,
    登録日付        TEXT,
    更新日付        TEXT,
    市場コード      TEXT    NOT NULL,
    PRIMARY KEY (銘柄コード, 市場コード, 日付, 時刻)
);

-- @@ working

PRAGMA user_version = 6;

-- Order reservations: what to buy, how to sell it, and where each order stands.
CREATE TABLE IF NOT EXISTS ttresevation (
    -- Largest stored number plus 1 for a new reservation.
    予約番号        INTEGER PRIMARY KEY,
    -- 1 cash, 2 margin.
    取引区分        INTEGER,
    -- 1 limit, 2 market.
    指成区分買      INTEGER,
    指成区分売      INTEGER,
    銘柄コード      TEXT,
    -- The shares to have bought in all (the first buy and every extra buy); a buy orders
    -- 株数 - 約定株数買. Once an order's day is over the row wants what it bought.
    株数            INTEGER,
    指値買11        INTEGER,
    指値売11        INTEGER,
    注文期間区分    INTEGER NOT NULL DEFAULT 0,
    -- Day of the insert, then of the last averaging down.
    注文期間        TEXT,
    繰返回数        INTEGER,
    実行回数買      INTEGER NOT NULL DEFAULT 0,
    実行回数売      INTEGER NOT NULL DEFAULT 0,
    -- 0 注文準備, 1 買注済, 2 買約定, 3 売注済, 4 売約定, 9 処理済, 99 キャンセル.
    処理区分        INTEGER NOT NULL DEFAULT 0,
    エラーコード    INTEGER NOT NULL DEFAULT 0,
    条件区分売1     INTEGER,
    条件区分売2     INTEGER,
    -- Profit-take percentage (may carry a fraction).
    割合売1         REAL,
    -- Stop-loss percentage.
    割合売2         INTEGER,
    日数売2         INTEGER,
    登録日付        TEXT,
    -- Last change; the order cycle serves the oldest first.
    更新日付        TEXT,
    市場コード      TEXT,
    -- Average execution prices are weighted averages, hence REAL.
    約定金額買      REAL    NOT NULL DEFAULT 0,
    -- Shares bought so far. The row holds 約定株数買 - 約定株数売, which a sell sells;
    -- 約定株数売 never exceeds 約定株数買, and a row that holds shares is never finished.
    約定株数買      INTEGER NOT NULL DEFAULT 0,
    約定日付買      TEXT,
    約定金額売      REAL    NOT NULL DEFAULT 0,
    -- Shares sold so far.
    約定株数売      INTEGER NOT NULL DEFAULT 0,
    約定日付売      TEXT,
    -- Broker order number of the latest accepted order.
    注文番号        INTEGER NOT NULL DEFAULT 0,
    -- 1 = the user asked to settle now.
    手動注文区分    INTEGER NOT NULL DEFAULT 0,
    -- Averaging-down count; empty until averaging down first gives it a value.
    注文回          INTEGER
);
-- Active and held reservations are selected by state.
CREATE INDEX IF NOT EXISTS ttresevation_処理区分 ON ttresevation (処理区分);
-- Execution notices find their reservation by the broker order number.
CREATE INDEX IF NOT EXISTS ttresevation_注文番号 ON ttresevation (注文番号);

-- Executions: one row per execution notice or manual entry.
CREATE TABLE IF NOT EXISTS ttcontracthistory (
    注文番号        INTEGER,
    受付日時        TEXT,
    -- 1 cash, 2 margin, 3 any other kind.
    取引区分        INTEGER,
    -- "1" buy, "2" sell.
    売買区分        TEXT,
    指成区分        INTEGER,
    銘柄コード      TEXT,
    約定株数        INTEGER,
    約定金額        INTEGER,
    予約番号        INTEGER,
    登録日付        TEXT,
    更新日付        TEXT,
    市場コード      TEXT
);
-- Executions are joined to and deleted with their reservation.
CREATE INDEX IF NOT EXISTS ttcontracthistory_予約番号 ON ttcontracthistory (予約番号);
-- The screening looks for an execution of a stock registered within a period.
CREATE INDEX IF NOT EXISTS ttcontracthistory_銘柄コード_市場コード_登録日付
    ON ttcontracthistory (銘柄コード, 市場コード, 登録日付);

-- Daily price-limit widths by base-price band (both ends included).
CREATE TABLE IF NOT EXISTS tmpricerange (
    基準値開始      INTEGER NOT NULL PRIMARY KEY,
    基準値終了      INTEGER NOT NULL,
    制限値幅上場株  INTEGER NOT NULL
);

-- Tick sizes by price band (both ends included).
CREATE TABLE IF NOT EXISTS tmnominalrange (
    呼値開始        INTEGER NOT NULL PRIMARY KEY,
    呼値終了        INTEGER NOT NULL,
    呼値単位        INTEGER NOT NULL
);

-- The start-up price update while it runs: one row, written before its first price and
-- removed when its last step has ended, so that a start after an interrupted update
-- completes that update instead of leaving holes or uncalculated rows.
CREATE TABLE IF NOT EXISTS ttupdatejournal (
    -- First and last day of the import.
    開始日          TEXT    NOT NULL,
    終了日          TEXT    NOT NULL,
    -- Step to run next: 1 import, 2 calculation, 3 split pass, 4 caution refresh.
    段階            INTEGER NOT NULL,
    -- The import's last stock-day done: later stock-days are still to fetch.
    取得日          TEXT,
    取得銘柄コード  TEXT,
    取得市場コード  TEXT
);

-- Saved mail files that the notice reader has handled, so that each is handled once and a
-- notice (keyed by its Message-ID, else a hash of the file) counts once.
CREATE TABLE IF NOT EXISTS ttmailprocessed (
    ファイル名      TEXT    NOT NULL PRIMARY KEY,
    -- Set for a notice that was counted; empty for every other result.
    通知キー        TEXT    UNIQUE,
    結果            TEXT    NOT NULL,
    処理日付        TEXT    NOT NULL,
    -- A notice refused (注文不一致) for its price alone before its execution day's prices
    -- were stored: that day. The notice is tested once more when the prices of that day
    -- are stored, then this is emptied; empty for every other file.
    再確認日        TEXT,
    -- When the user dismissed the refusal from the information line; a refused notice is
    -- counted there until then.
    確認日時        TEXT
);

-- Orders this program placed at the broker, written together with the reservation's
-- accepted state. A notice counts only against one of these: its reservation, side and
-- shares, and the shares its notices have brought so far.
CREATE TABLE IF NOT EXISTS ttplacedorder (
    注文番号        INTEGER NOT NULL,
    -- Day the order was placed; an order is valid for that day only.
    注文日          TEXT    NOT NULL,
    予約番号        INTEGER NOT NULL,
    -- 1 buy, 2 sell.
    売買区分        INTEGER NOT NULL,
    株数            INTEGER NOT NULL,
    約定株数        INTEGER NOT NULL DEFAULT 0,
    -- Of those, the shares of sales entered by hand whose notice has not come yet.
    手入力株数      INTEGER NOT NULL DEFAULT 0,
    PRIMARY KEY (注文番号, 注文日)
);
