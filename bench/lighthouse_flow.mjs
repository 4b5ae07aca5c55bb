// Lighthouse's accessibility audit of the web edition in two states a student reaches: the load
// dialog open, and a run finished. Run by bench/lighthouse.sh, which installs Lighthouse and
// Puppeteer beside a copy of this file. Usage: node lighthouse_flow.mjs ADDRESS_OF_VELMORA_HTML
import puppeteer from "puppeteer-core";
import {snapshot} from "lighthouse";

const browser = await puppeteer.launch({
    executablePath: process.env.CHROME_PATH,
    headless: true,
    args: ["--no-sandbox", "--disable-dev-shm-usage"],
    defaultViewport: {width: 1100, height: 800},
});
const page = await browser.newPage();

async function audit(state) {
    const result = await snapshot(page, {flags: {onlyCategories: ["accessibility"]}});
    const category = result.lhr.categories.accessibility;
    const failing = category.auditRefs
        .map((ref) => result.lhr.audits[ref.id])
        .filter((audit) => audit.score !== null && audit.score < 1)
        .map((audit) => audit.id);
    console.log(`${state}: accessibility ${Math.round(category.score * 100)}` +
                (failing.length ? ` (failing: ${failing.join(", ")})` : ""));
    return category.score;
}

await page.goto(process.argv[2]);
for (let box = 0; box < 2; ++box) {
    await page.waitForSelector("dialog.box[open] button");
    await page.click("dialog.box[open] button");
}
await page.waitForSelector("dialog.template[open] input");
const dialogScore = await audit("the load dialog open");
await page.type("dialog.template[open] input", "100");
await page.click("dialog.template[open] button");
await page.waitForSelector("#toggle");
await page.click("#toggle");
await page.waitForFunction(
    () => document.getElementById("announce").textContent.startsWith("Finished"),
    {timeout: 60000});
const finishedScore = await audit("after a run");
await browser.close();
process.exitCode = dialogScore === 1 && finishedScore === 1 ? 0 : 1;
